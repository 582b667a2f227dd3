#include "platform/ReplacingFile.h"

#include <QFileInfo>

#include <cstring>

#ifdef Q_OS_UNIX
#include "platform/FileReplacement.h"

#include <cerrno>
#else
#include <QFile>
#include <QSaveFile>
#endif

namespace {

// Why nothing may be written at the path: a folder that is missing or cannot be reached, or
// something that is not a file in the way.
std::optional<WriteError> refusalOf(const QString& path)
{
    const QFileInfo target(path);
    // A folder on the way that may not be entered, a name too long, a loop of links: the
    // system's reason says which.
    const FileKind folder = KindOfFile(target.absolutePath());
    if (folder.kind == FileKind::Unreachable)
        return WriteError{WriteError::Cause::WriteFailed, folder.reason};
    if (folder.kind != FileKind::Folder)
        return WriteError{WriteError::Cause::FolderMissing, QStringLiteral("the folder does not exist")};
    // The new file would take the place of whatever the name leads to: a device node or a
    // pipe would be gone, and a link loop would be replaced by a plain file.
    const FileKind kind = KindOfFile(path);
    if (kind.kind == FileKind::Unreachable)
        return WriteError{WriteError::Cause::WriteFailed, kind.reason};
    if (kind.kind != FileKind::Absent && kind.kind != FileKind::File)
        return WriteError{WriteError::Cause::AccessDenied,
                          QStringLiteral("%1 of that name is in the way").arg(KindInWords(kind))};
    return std::nullopt;
}

} // namespace

#ifdef Q_OS_UNIX

ReplacingFile::ReplacingFile(const QString& path) : refusal_(refusalOf(path))
{
    if (refusal_)
        return;
    content_ = std::make_unique<ContentReplacement>(path, WaitingContent::Unnamed);
    refusal_ = content_->refusal();
    if (!refusal_)
        buffer_.reset(new char[BufferBytes]);
}

ReplacingFile::~ReplacingFile() = default;

std::optional<WriteError> ReplacingFile::error() const
{
    if (refusal_)
        return refusal_;
    if (failure_ != 0)
        return SystemWriteError(failure_);
    return std::nullopt;
}

bool ReplacingFile::ok() const
{
    return !refusal_ && failure_ == 0 && !committed_;
}

bool ReplacingFile::put(const char* bytes, std::size_t size)
{
    failure_ = content_->append(bytes, size);
    return failure_ == 0;
}

bool ReplacingFile::putAt(std::uint64_t offset, const char* bytes, std::size_t size)
{
    failure_ = content_->writeAt(offset, bytes, size);
    return failure_ == 0;
}

bool ReplacingFile::commit()
{
    if (!ok() || !flush())
        return false;
    refusal_ = content_->commit();
    committed_ = !refusal_;
    return committed_;
}

#else

namespace {

// Why the save file failed, in its own words.
WriteError errorOf(const QSaveFile& file, const QString& path)
{
    const QString reason = file.error() == QFileDevice::NoError ? QStringLiteral("the file could not be written")
                                                                : file.errorString();
    const bool folderWritable = QFileInfo(QFileInfo(path).absolutePath()).isWritable();
    return {folderWritable ? WriteError::Cause::WriteFailed : WriteError::Cause::AccessDenied, reason};
}

// A write that stops part way (the disk is full) returns what it wrote and no error; the
// write of the rest then fails with the system's reason.
bool writeAll(QFileDevice& file, const char* bytes, std::size_t size)
{
    for (std::size_t written = 0; written < size;) {
        const qint64 step = file.write(bytes + written, qint64(size - written));
        if (step <= 0)
            return false;
        written += std::size_t(step);
    }
    return true;
}

} // namespace

ReplacingFile::ReplacingFile(const QString& path) : refusal_(refusalOf(path))
{
    if (refusal_)
        return;
    // A read-only earlier file would make the replacement fail; it is made writable first.
    const QFileInfo target(path);
    forcedWritable_ = target.exists() && !target.isWritable();
    earlierPermissions_ = target.permissions();
    if (forcedWritable_
        && !QFile::setPermissions(path, earlierPermissions_ | QFileDevice::WriteOwner | QFileDevice::WriteUser)) {
        forcedWritable_ = false;
        refusal_ = WriteError{WriteError::Cause::AccessDenied,
                              QStringLiteral("the earlier file is read-only and cannot be replaced")};
        return;
    }
    // Never fall back to writing into the target itself: that could leave it truncated.
    content_ = std::make_unique<QSaveFile>(path);
    content_->setDirectWriteFallback(false);
    if (!content_->open(QIODevice::WriteOnly)) {
        refusal_ = errorOf(*content_, path);
        return;
    }
    buffer_.reset(new char[BufferBytes]);
}

ReplacingFile::~ReplacingFile()
{
    if (content_ && !committed_)
        content_->cancelWriting();
    if (forcedWritable_ && !committed_)
        QFile::setPermissions(content_->fileName(), earlierPermissions_);
}

std::optional<WriteError> ReplacingFile::error() const
{
    return refusal_;
}

bool ReplacingFile::ok() const
{
    return !refusal_ && !committed_;
}

bool ReplacingFile::put(const char* bytes, std::size_t size)
{
    if (!writeAll(*content_, bytes, size))
        refusal_ = errorOf(*content_, content_->fileName());
    return !refusal_;
}

bool ReplacingFile::putAt(std::uint64_t offset, const char* bytes, std::size_t size)
{
    const qint64 appended = content_->pos();
    if (!content_->seek(qint64(offset)) || !writeAll(*content_, bytes, size) || !content_->seek(appended))
        refusal_ = errorOf(*content_, content_->fileName());
    return !refusal_;
}

bool ReplacingFile::commit()
{
    if (!ok() || !flush())
        return false;
    if (!content_->commit()) {
        refusal_ = errorOf(*content_, content_->fileName());
        return false;
    }
    committed_ = true;
    return true;
}

#endif

bool ReplacingFile::append(const void* bytes, std::size_t size)
{
    if (!ok())
        return false;
    if (size == 0)
        return true;
    if (size > BufferBytes - buffered_ && !flush())
        return false;
    if (size >= BufferBytes)
        return put(static_cast<const char*>(bytes), size);
    std::memcpy(buffer_.get() + buffered_, bytes, size);
    buffered_ += size;
    return true;
}

bool ReplacingFile::writeAt(std::uint64_t offset, const void* bytes, std::size_t size)
{
    return ok() && flush() && putAt(offset, static_cast<const char*>(bytes), size);
}

bool ReplacingFile::flush()
{
    const std::size_t pending = buffered_;
    buffered_ = 0;
    return pending == 0 || put(buffer_.get(), pending);
}
