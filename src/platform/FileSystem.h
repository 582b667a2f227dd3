#pragma once

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

// Why a file could not be written.
struct WriteError {
    enum class Cause { FolderMissing, AccessDenied, WriteFailed };
    Cause cause;
    QString reason; // for the user
};

// Makes the bytes the whole content of the file at path. They go to a temporary file in the
// same folder, which replaces the file only once it is complete, so a failure (a full disk,
// a folder that may not be written) leaves an earlier file exactly as it was and no
// temporary file behind. An earlier read-only file is replaced as well.
std::optional<WriteError> WriteFileReplacing(const QString& path, const QByteArray& bytes);
