#pragma once

#include "core/Failure.h"

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QtGlobal>

#include <initializer_list>
#include <optional>

// How the platform writes paths: its separator, and how many separators a path that begins
// with one keeps at its start (two on Windows, where a leading pair names a network share).
struct PathStyle {
    QChar separator;
    int leadingSeparators;
};

inline constexpr PathStyle WindowsPaths{u'\\', 2};
inline constexpr PathStyle PosixPaths{u'/', 1};
#ifdef Q_OS_WIN
inline constexpr PathStyle NativePaths = WindowsPaths;
#else
inline constexpr PathStyle NativePaths = PosixPaths;
#endif

// A file in the program folder. The names are joined to the folder as they stand, so a
// program at a root gives two separators in a row.
QString ProgramFilePath(const QString& programFolder, std::initializer_list<const char*> names);

// Whether the path names an existing folder, with or without a trailing separator. Empty
// text, a missing path, a file or anything the system cannot read counts as no folder.
bool FolderExists(const QString& path);

// What a path names, found without opening anything; symbolic links are followed to what
// they lead to. Opening a named pipe waits for a writer that may never come, a device may
// give bytes without end or swallow what is written, so the program looks before it opens.
struct FileKind {
    enum Kind { Absent, File, Folder, Pipe, Device, Socket, Other, Unreachable };
    Kind kind;
    QString reason; // the system's reason why the path could not be looked at (Unreachable)
};
FileKind KindOfFile(const QString& path);

// A kind that is not a file, for a message: "a folder", "a named pipe (FIFO)", "a device",
// "a socket", "an entry of an unknown kind"; for Unreachable the system's reason.
QString KindInWords(const FileKind& kind);

// The failure of a picture that cannot be loaded: "Cannot load the picture <path>: <cause>",
// with the path and the cause as its fields.
Failure PictureLoadFailure(int number, const QString& path, const QString& cause);

// Refuses, without opening it, a path that names no file to read a picture from. Throws
// Failure with the path and the cause: "File not found: <path>" when nothing has that name,
// "File not found: no picture was named" for empty text;
// "Cannot load the picture <path>: <cause>" for a folder, a pipe, a device or a socket, a
// path the system cannot look at, and a name that the program cannot name exactly.
void RequirePictureFile(const QString& path);

// Whether a name holds the replacement character that the system's name decoding puts in
// place of bytes that are not valid UTF-8: such a name stands for a file that the program
// cannot name exactly, and using it would reach another file or none.
bool NameHasUndecodableBytes(const QString& path);
// Why such a name is refused, for a message.
QString UndecodableNameReason();

// Whether both paths name one and the same existing file: by the same name, or through a
// symbolic or a hard link.
bool SameFile(const QString& first, const QString& second);

// Why a file could not be written.
struct WriteError {
    enum class Cause { FolderMissing, AccessDenied, WriteFailed };
    Cause cause;
    QString reason; // for the user
};

// Why a write failed, from the system's error number: the system's reason, and for a folder
// on a file system mounted read-only, that.
WriteError SystemWriteError(int error);
