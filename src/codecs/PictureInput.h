#pragma once

#include <QFile>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <memory>

// A picture file open for its decoder: opened once, read through one large buffer, so a photo
// takes a few dozen reads of the system instead of thousands, whichever decoder reads it.
class PictureInput {
public:
    // Throws Failure "Cannot load the picture <path>: <the system's reason>" when the file
    // cannot be opened for reading.
    explicit PictureInput(const QString& path);
    PictureInput(const PictureInput&) = delete;
    PictureInput& operator=(const PictureInput&) = delete;

    qint64 size() const { return size_; }

    // Up to `bytes` of the next bytes into `into`; fewer only at the end of the file.
    std::size_t read(void* into, std::size_t bytes);
    // The next byte; false at the end of the file.
    bool next(std::uint8_t& byte)
    {
        if (at_ == end_ && !refill())
            return false;
        byte = buffer_[at_++];
        return true;
    }
    // All the bytes buffered and not yet read, refilled first when none are: empty at the end
    // of the file. They count as read.
    struct Bytes {
        const std::uint8_t* data;
        std::size_t size;
    };
    Bytes takeBuffered();
    // Passes over `bytes` bytes; false when the file ends first.
    bool skip(std::uint64_t bytes);
    // Goes to a position from the start of the file; false when it lies past the end.
    bool seek(qint64 position);

private:
    bool refill();

    QFile file_;
    qint64 size_ = 0;
    std::unique_ptr<std::uint8_t[]> buffer_;
    std::size_t at_ = 0, end_ = 0;
};
