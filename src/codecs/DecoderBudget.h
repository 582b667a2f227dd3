#pragma once

#include <QString>

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>

// What decoding one picture may cost. A few hundred bytes of header can claim a picture of
// gigabytes, or ask for minutes of work; each limit below is reached only by such files, and
// each refusal names the limit. Every limit of the decoders is here.

// The most pixels a picture may claim: room for a 100-megapixel photo (134 megapixels, 512 MiB
// at four bytes a pixel), while a file whose header claims absurd dimensions is refused before
// anything is allocated.
inline constexpr std::int64_t MostPicturePixels = std::int64_t(512) * 1024 * 1024 / 4;

// All the memory the decoders of one job may hold at once (both pictures of the pair):
// libjpeg's coefficient buffers of a progressive JPEG, a whole interlaced PNG or GIF frame, the
// row buffers of every decoder. A 100-megapixel progressive JPEG needs about 290 MiB.
inline constexpr std::size_t JobDecoderMemoryMiB = 512;

// Scans of one JPEG. Encoders write about ten; thousands of empty ones are an attack on time.
inline constexpr int MostJpegScans = 500;
// A progressive JPEG in Huffman coding holds at least one bit of every 8 x 8 block in its first
// scan, so a file cannot honestly hold more blocks than eight per byte; twice that is allowed.
// (Arithmetic coding holds a flat picture in a few hundred bytes: only its memory is counted.)
inline constexpr std::uint64_t MostJpegBlocksPerFileByte = 16;
// Work on the input scans, in blocks decoded (each block of a scan's components once per scan),
// per byte of file. A camera's progressive photo takes about one; only scans with nothing in
// them reach this.
inline constexpr std::uint64_t MostJpegBlockScansPerFileByte = 512;
// Arithmetic coding needs next to no bytes for a block, so a file in it may also ask for this
// many passes over all its blocks: a progressive one in the usual ten scans makes five and a
// half (most scans hold one component), and a pass costs about 40 ns a block, 0.1 s for a
// photo of 100 megapixels.
inline constexpr std::uint64_t MostJpegArithmeticPasses = 8;
// The only marker kept is the first EXIF segment, for the orientation; it is at most 64 KiB.

// PNG: the most a chunk the program needs may claim. The picture data streams through in
// chunks of any number, but one chunk that claims more than both this and all that its picture
// can need is refused. The chunks the program does not need (text, colour profiles, animation,
// ...) are passed over in the file unread, whatever their size.
inline constexpr std::size_t MostPngChunkBytes = 8 * 1024 * 1024;
// The longest side of a PNG. libpng goes through a row in about 100 ns however short it is, and
// holds rows whole, three times over with the program's: ten million pixels a side is a second
// of rows, or 100 MB of them. (libvips reads no longer sides, and libpng itself no more than a
// million unless told.)
inline constexpr std::uint32_t MostPngSidePixels = 10'000'000;

// Run-length BMPs and GIFs: pixels one byte of compressed data may make. A run-length code of
// two bytes makes at most 255 pixels, and flat GIF data about 2700 pixels a byte.
inline constexpr std::int64_t MostRlePixelsPerByte = 1024;
inline constexpr std::int64_t MostGifPixelsPerByte = 4096;

// The decoder memory of one job. The two pictures of a job are decoded at the same time;
// when both need much, the second waits until the first has given its memory back. An export
// streams both pictures into one blend, so neither can end before the other: there a decoding
// that does not fit beside the other's is refused instead of waiting for it.
class DecoderMemory {
public:
    enum class WhenShort { Wait, Refuse };
    explicit DecoderMemory(std::size_t limitBytes = JobDecoderMemoryMiB * 1024 * 1024, WhenShort whenShort = WhenShort::Wait)
        : limit_(limitBytes), whenShort_(whenShort)
    {
    }
    std::size_t limit() const { return limit_; }

    // Takes `bytes`, waiting while other decoders hold too much, or not, as the memory was
    // made; false when `bytes` alone is above the limit, or, without waiting, above what the
    // others leave.
    bool take(std::size_t bytes);
    void giveBack(std::size_t bytes);
    // What the decoders hold now.
    std::size_t taken();

private:
    std::mutex mutex_;
    std::condition_variable released_;
    std::size_t limit_;
    WhenShort whenShort_;
    std::size_t used_ = 0;
};

// Memory taken from a job's decoder memory until the decoding ends.
class MemoryReservation {
public:
    MemoryReservation() = default;
    MemoryReservation(const MemoryReservation&) = delete;
    MemoryReservation& operator=(const MemoryReservation&) = delete;
    ~MemoryReservation() { release(); }

    // Takes `bytes` (once per decoding); false when they are above the job's limit.
    bool take(DecoderMemory& memory, std::size_t bytes);
    void release();

private:
    DecoderMemory* memory_ = nullptr;
    std::size_t bytes_ = 0;
};

// The cause told when a picture needs more decoder memory than a job may use, or than the
// other picture leaves of it (`others` held).
QString TooMuchMemoryCause(std::size_t bytes, std::size_t limit, std::size_t others = 0);
