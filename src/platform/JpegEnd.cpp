#include "platform/JpegEnd.h"

#include <QIODevice>

#include <array>
#include <cstring>

namespace {

constexpr int StartOfImage = 0xd8;
constexpr int EndOfImage = 0xd9;

// Reads the device in large blocks: the entropy-coded data of a camera photo is megabytes
// long and is only searched for its next marker.
class ByteScanner {
public:
    explicit ByteScanner(QIODevice& device) : device_(device) {}

    int next()
    {
        if (at_ == filled_ && !refill())
            return -1;
        return static_cast<unsigned char>(buffer_[at_++]);
    }

    bool skip(qint64 count)
    {
        while (count > 0) {
            if (at_ == filled_ && !refill())
                return false;
            const qint64 step = std::min<qint64>(count, filled_ - at_);
            at_ += step;
            count -= step;
        }
        return true;
    }

    // The next marker: 0xff, any fill bytes 0xff, and a code. Stuffed zeros and restart
    // markers belong to the entropy-coded data and are passed over; so are stray bytes, which
    // the decoder passes over as well. -1 at the end of the data.
    int nextMarker()
    {
        for (;;) {
            if (at_ == filled_ && !refill())
                return -1;
            const void* found = std::memchr(buffer_.data() + at_, 0xff, static_cast<std::size_t>(filled_ - at_));
            if (!found) {
                at_ = filled_;
                continue;
            }
            at_ = static_cast<const char*>(found) - buffer_.data() + 1;
            int code = next();
            while (code == 0xff)
                code = next();
            if (code < 0)
                return -1;
            if (code != 0x00 && (code < 0xd0 || code > 0xd7))
                return code;
        }
    }

private:
    bool refill()
    {
        filled_ = device_.read(buffer_.data(), static_cast<qint64>(buffer_.size()));
        at_ = 0;
        return filled_ > 0;
    }

    QIODevice& device_;
    std::array<char, 64 * 1024> buffer_{};
    qint64 filled_ = 0;
    qint64 at_ = 0;
};

bool walkSegments(ByteScanner& scanner)
{
    if (scanner.next() != 0xff || scanner.next() != StartOfImage)
        return false;
    for (;;) {
        const int marker = scanner.nextMarker();
        if (marker < 0)
            return false;
        if (marker == EndOfImage)
            return true;
        if (marker == 0x01 || marker == StartOfImage)
            continue; // no length follows
        const int high = scanner.next();
        const int low = scanner.next();
        if (low < 0 || (high << 8 | low) < 2 || !scanner.skip((high << 8 | low) - 2))
            return false;
        // After a scan header comes its entropy-coded data, which the next marker ends.
    }
}

} // namespace

bool JpegReachesEndOfImage(QIODevice& device)
{
    const qint64 start = device.pos();
    ByteScanner scanner(device);
    const bool complete = walkSegments(scanner);
    device.seek(start);
    return complete;
}
