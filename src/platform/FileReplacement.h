#pragma once

#include "platform/FileSystem.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <optional>

#ifdef Q_OS_UNIX
// Where the new content of a file waits until it is complete: always in the file's own folder,
// so that it takes the file's place in one rename.
enum class WaitingContent {
    // A file without a name (Linux O_TMPFILE), named only for the moment between its link and
    // its rename. File systems that cannot make one get a Named file instead.
    Unnamed,
    // A file with a temporary name from the start.
    Named,
};

// The temporary names that writes of a file give their new content: of one fixed length
// whatever the file's name, so that they fit wherever the file does, and one for each of up
// to ConcurrentWrites writes of the file under way at once. A write that was killed may leave
// its file under such a name; the next write of the file removes it.
inline constexpr int ConcurrentWrites = 16;
QByteArray TemporaryNameOf(const QByteArray& fileName, int write);

// Makes the bytes the whole content of the file at path, by way of a temporary file in its
// folder that replaces it once complete and synced, and that is locked while any write uses
// it. A symbolic link is followed to the file it leads to, which is replaced; the link stays.
// Before it writes, removes what killed writes of the file left under the temporary names:
// only a plain file of the user running the program, with no other link, that no live write
// holds. Neither the kind of what the path names nor its folder is checked here.
std::optional<WriteError> ReplaceFileContent(const QString& path, const QByteArray& bytes, WaitingContent way);
#endif
