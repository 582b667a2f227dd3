#pragma once

#include "platform/FileSystem.h"

#include <QString>
#include <QtGlobal>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>

#ifdef Q_OS_UNIX
class ContentReplacement;
#else
#include <QFileDevice>
class QSaveFile;
#endif

// A file written as its bytes come, that takes the place of the file of that name only once it
// is committed. The new content waits in the same folder, so a failure (a full disk, a folder
// that may not be written) leaves an earlier file exactly as it was and nothing behind, a
// ReplacingFile that goes without commit() leaves nothing either, and what a write killed part
// way leaves goes with the next write of the file; the waiting file's name fits wherever the
// file's own does. An earlier read-only file is replaced as well. Only a file is ever
// replaced: a missing folder, a path the system cannot reach, or a folder, pipe, device or
// socket in the way (itself or at the end of a symbolic link) is refused; a link to a file
// stays a link, and its file is replaced. The first failure, of the opening or of any write,
// sticks: every later step does nothing and error() says why, in the system's words (a full
// disk part way is "No space left on device").
//
// Appended bytes are gathered in a buffer of BufferBytes, so that a writer may hand over a row
// at a time without a system call for each. The steps allocate nothing, so a library's
// callback may use them.
class ReplacingFile {
public:
    static constexpr std::size_t BufferBytes = std::size_t(256) << 10;

    explicit ReplacingFile(const QString& path);
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // Why the file cannot be written; nothing while all is well.
    std::optional<WriteError> error() const;

    // Adds the bytes after those appended so far, the first at the start of the file. False
    // once anything failed.
    bool append(const void* bytes, std::size_t size);
    // Puts the bytes at an offset from the start of the file, where later appends do not
    // reach; a gap that nothing fills reads as zeros. False once anything failed.
    bool writeAt(std::uint64_t offset, const void* bytes, std::size_t size);
    // Puts the complete file on the disk and in the place of the file of that name. False
    // when it could not, or when anything failed before.
    bool commit();

private:
    bool ok() const;
    bool flush();
    // Write straight to the new content and keep the first failure.
    bool put(const char* bytes, std::size_t size);
    bool putAt(std::uint64_t offset, const char* bytes, std::size_t size);

#ifdef Q_OS_UNIX
    std::unique_ptr<ContentReplacement> content_;
    int failure_ = 0; // the error number of the first failed write
#else
    std::unique_ptr<QSaveFile> content_;
    // A read-only earlier file is made writable for the replacement and given its
    // permissions back when the new file does not take its place.
    bool forcedWritable_ = false;
    QFileDevice::Permissions earlierPermissions_;
#endif
    std::optional<WriteError> refusal_;
    std::unique_ptr<char[]> buffer_;
    std::size_t buffered_ = 0;
    bool committed_ = false;
};
