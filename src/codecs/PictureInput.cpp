#include "codecs/PictureInput.h"

#include "core/Failure.h"
#include "platform/FileSystem.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::size_t BufferBytes = 256 * 1024;

} // namespace

PictureInput::PictureInput(const QString& path)
    : file_(path), buffer_(std::make_unique_for_overwrite<std::uint8_t[]>(BufferBytes))
{
    // Unbuffered: the one buffer is ours, and reads larger than it go straight to the system.
    if (!file_.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        throw PictureLoadFailure(FailureNumber::PathFileAccess, path, file_.errorString());
    size_ = file_.size();
}

bool PictureInput::refill()
{
    const qint64 got = file_.read(reinterpret_cast<char*>(buffer_.get()), qint64(BufferBytes));
    at_ = 0;
    end_ = got > 0 ? std::size_t(got) : 0;
    return end_ > 0;
}

std::size_t PictureInput::read(void* into, std::size_t bytes)
{
    auto* out = static_cast<std::uint8_t*>(into);
    std::size_t done = 0;
    while (done < bytes) {
        if (at_ == end_) {
            // A large read needs no copy through the buffer.
            if (bytes - done >= BufferBytes) {
                const qint64 got = file_.read(reinterpret_cast<char*>(out + done), qint64(bytes - done));
                return done + (got > 0 ? std::size_t(got) : 0);
            }
            if (!refill())
                break;
        }
        const std::size_t part = std::min(bytes - done, end_ - at_);
        std::memcpy(out + done, buffer_.get() + at_, part);
        at_ += part;
        done += part;
    }
    return done;
}

PictureInput::Bytes PictureInput::takeBuffered()
{
    if (at_ == end_ && !refill())
        return {buffer_.get(), 0};
    const Bytes bytes{buffer_.get() + at_, end_ - at_};
    at_ = end_;
    return bytes;
}

bool PictureInput::skip(std::uint64_t bytes)
{
    const std::uint64_t buffered = end_ - at_;
    if (bytes <= buffered) {
        at_ += std::size_t(bytes);
        return true;
    }
    const qint64 position = file_.pos();
    const std::uint64_t beyond = bytes - buffered;
    if (position < 0 || beyond > std::uint64_t(size_ - std::min(position, size_)))
        return false;
    return seek(position + qint64(beyond));
}

bool PictureInput::seek(qint64 position)
{
    at_ = end_ = 0;
    return position >= 0 && position <= size_ && file_.seek(position);
}
