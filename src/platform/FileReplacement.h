#pragma once

#include "platform/FileSystem.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <cstddef>
#include <cstdint>
#include <optional>

#ifdef Q_OS_UNIX
// Where the new content of a file waits until it is complete: always in the file's own folder,
// so that it takes the file's place in one rename.
enum class WaitingContent {
    // A file without a name (Linux O_TMPFILE), named only for the moment between its link and
    // its rename. File systems that cannot make one, and systems that cannot name one later,
    // get a Named file instead.
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

// The new content of the file at a path while it is written: a temporary file in its folder,
// locked while any write uses it, that replaces the file once complete and synced. A symbolic
// link is followed to the file it leads to, which is replaced; the link stays. Before it
// starts, removes what killed writes of the file left under the temporary names: only a plain
// file of the user running the program, with no other link, that no live write holds. Neither
// the kind of what the path names nor its folder is checked here. Destroyed before it is
// committed, it leaves nothing: an unnamed file goes with its descriptor, a named one is
// removed, and an earlier file stays as it was.
class ContentReplacement {
public:
    ContentReplacement(const QString& path, WaitingContent way);
    ~ContentReplacement();
    ContentReplacement(const ContentReplacement&) = delete;
    ContentReplacement& operator=(const ContentReplacement&) = delete;

    // Why the new content could not be started; nothing once it is.
    const std::optional<WriteError>& refusal() const { return refusal_; }

    // Add the bytes at the end of the new content, or put them at an offset from its start:
    // 0, or the system's error number. They allocate nothing, so a library's callback may use
    // them.
    int append(const char* bytes, std::size_t size);
    int writeAt(std::uint64_t offset, const char* bytes, std::size_t size);

    // Puts the complete content on the disk and in the file's place, once.
    std::optional<WriteError> commit();

private:
    int folder_ = -1;
    int file_ = -1;
    QByteArray fileName_;
    QByteArray temporaryName_; // empty while the file has none
    bool committed_ = false;
    std::optional<WriteError> refusal_;
};

#endif
