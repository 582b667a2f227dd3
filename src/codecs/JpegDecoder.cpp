#include "codecs/JpegDecoder.h"

#include "codecs/ExifOrientation.h"
#include "core/Failure.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

#include <jpeglib.h>
#include <jerror.h>

namespace {

enum class Stop { None, Damaged, Unsupported, Truncated, TooManyScans, TooFewBytes, TooMuchWork, TooMuchMemory };

// Everything one decoding owns. libjpeg reports errors by a long jump back into read(), so
// nothing with a destructor lives in the frames it jumps over: it all lives here.
struct JpegDecoding {
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    jpeg_progress_mgr progress{};
    std::jmp_buf jump{};
    bool created = false;
    jpeg_source_mgr source{};
    const DecodeRequest* request = nullptr;

    Stop stop = Stop::None;
    char message[JMSG_LENGTH_MAX] = {};
    QString unsupportedKind; // what kind of JPEG it is, when it is one the program does not read
    int lastScan = 0;
    bool inScans = false;   // the headers before the first scan have been read
    bool endOfFile = false; // the input ran out, and an end marker took its place
    std::uint64_t blocks = 0;
    std::uint64_t blockScans = 0;
    std::vector<std::uint8_t> exif;
    std::vector<std::uint8_t> segment;
    std::vector<std::uint32_t> row;
    std::vector<std::uint8_t> inks;
    PictureDecoding picture;

    explicit JpegDecoding(const DecodeRequest& r) : request(&r), picture(r) {}
    ~JpegDecoding()
    {
        if (created)
            jpeg_destroy_decompress(&info);
    }
};

JpegDecoding& decodingOf(j_common_ptr info)
{
    return *static_cast<JpegDecoding*>(info->client_data);
}

[[noreturn]] void stopWith(JpegDecoding& d, Stop stop)
{
    d.stop = stop;
    std::longjmp(d.jump, 1);
}

// The kind of JPEG that libjpeg refused to read, said as part of a sentence; empty when it
// refused damaged data instead.
QString unsupportedKindOf(const jpeg_decompress_struct& info, const jpeg_error_mgr& error)
{
    switch (error.msg_code) {
    case JERR_BAD_PRECISION: {
        // Precisions a JPEG may have (2 to 16 bits lossless, 12 with the DCT) but not 8.
        const int bits = error.msg_parm.i[0];
        if (bits >= 2 && bits <= 16)
            return QStringLiteral("its %1-bit samples are").arg(bits);
        return {};
    }
    case JERR_SOF_UNSUPPORTED:
        // The frame markers libjpeg does not read: lossless (C3, C7, CB, CF), the other
        // hierarchical ones (C5, C6, CD, CE), and C8, kept for extensions.
        if (error.msg_parm.i[0] == 0xc8)
            return {};
        if ((error.msg_parm.i[0] & 0x03) == 0x03)
            return QStringLiteral("its lossless coding is");
        return QStringLiteral("its hierarchical coding is");
    case JERR_EMPTY_IMAGE:
        // A height of 0 in the frame header: the height follows the first scan, in a DNL marker.
        if (info.image_height == 0 && info.image_width > 0 && info.num_components > 0)
            return QStringLiteral("its height given after the picture data (in a DNL marker) is");
        return {};
    default:
        return {};
    }
}

void onError(j_common_ptr info)
{
    JpegDecoding& d = decodingOf(info);
    info->err->format_message(info, d.message);
    d.unsupportedKind = unsupportedKindOf(d.info, *info->err);
    // libjpeg asks for backing store when the coefficients exceed its memory limit.
    if (info->err->msg_code == JERR_NO_BACKING_STORE)
        stopWith(d, Stop::TooMuchMemory);
    stopWith(d, d.unsupportedKind.isEmpty() ? Stop::Damaged : Stop::Unsupported);
}

// Warnings about damaged data are passed over, as other viewers do; a scan cut short by the end
// of the file is not, since libjpeg would fill the rest of the picture with grey. (The Huffman
// decoder warns when it needs bits past the last byte; a complete scan needs none.)
void onMessage(j_common_ptr info, int level)
{
    JpegDecoding& d = decodingOf(info);
    if (level < 0 && info->err->msg_code == JWRN_HIT_MARKER && d.endOfFile)
        stopWith(d, Stop::Truncated);
}

// The blocks the entropy decoder goes through in the current scan: those of its components.
std::uint64_t blocksInScan(const jpeg_decompress_struct& info)
{
    std::uint64_t blocks = 0;
    for (int c = 0; c < info.comps_in_scan; ++c)
        blocks += std::uint64_t(info.cur_comp_info[c]->width_in_blocks) * info.cur_comp_info[c]->height_in_blocks;
    return blocks;
}

// The work the file may ask for, in blocks decoded. Huffman codes take at least a bit for each
// block of a scan that starts the picture, so work beyond so many blocks a byte is empty scans;
// arithmetic coding makes the blocks of a flat picture from almost nothing, so its files may
// also take a number of passes over every block.
std::uint64_t mostBlockScans(const JpegDecoding& d)
{
    const std::uint64_t perByte = MostJpegBlockScansPerFileByte * static_cast<std::uint64_t>(d.request->fileSize());
    return perByte + (d.info.arith_code ? MostJpegArithmeticPasses * d.blocks : 0);
}

void onProgress(j_common_ptr info)
{
    JpegDecoding& d = decodingOf(info);
    const int scan = d.info.input_scan_number;
    if (scan <= d.lastScan)
        return;
    d.lastScan = scan;
    if (scan > MostJpegScans)
        stopWith(d, Stop::TooManyScans);
    d.blockScans += blocksInScan(d.info);
    if (d.blockScans > mostBlockScans(d))
        stopWith(d, Stop::TooMuchWork);
}

// The compressed data straight from the input's buffer. Where the file ends, an end marker
// takes the place of the one missing: a file whose scans are all complete is whole without it.
// It ends too early inside the headers, inside a segment (libjpeg asks again), and in a scan
// that still needs data: the Huffman decoder then warns, and the arithmetic decoder, which
// reads zeros past its data without a word, must have reached the scan's last row of blocks.
constexpr JOCTET EndOfImage[] = {0xff, JPEG_EOI};

void startSource(j_decompress_ptr) {}
void endSource(j_decompress_ptr) {}

boolean fillSource(j_decompress_ptr info)
{
    JpegDecoding& d = decodingOf(reinterpret_cast<j_common_ptr>(info));
    const PictureInput::Bytes bytes = d.request->input.takeBuffered();
    if (bytes.size == 0) {
        const bool lastRowOfBlocks = info->input_iMCU_row + 1 >= info->total_iMCU_rows;
        if (!d.inScans || d.endOfFile || (info->arith_code && !lastRowOfBlocks))
            stopWith(d, Stop::Truncated);
        d.endOfFile = true;
        d.source.next_input_byte = EndOfImage;
        d.source.bytes_in_buffer = sizeof EndOfImage;
        return TRUE;
    }
    d.source.next_input_byte = bytes.data;
    d.source.bytes_in_buffer = bytes.size;
    return TRUE;
}

void skipSource(j_decompress_ptr info, long bytes)
{
    JpegDecoding& d = decodingOf(reinterpret_cast<j_common_ptr>(info));
    if (bytes <= 0)
        return;
    const auto wanted = static_cast<std::size_t>(bytes);
    if (wanted <= d.source.bytes_in_buffer) {
        d.source.next_input_byte += wanted;
        d.source.bytes_in_buffer -= wanted;
        return;
    }
    const std::uint64_t beyond = wanted - d.source.bytes_in_buffer;
    d.source.bytes_in_buffer = 0;
    // Past the end, the next fill finds nothing and tells the file truncated.
    if (!d.request->input.skip(beyond))
        d.request->input.seek(d.request->fileSize());
}

void useInput(JpegDecoding& d)
{
    d.source.init_source = startSource;
    d.source.fill_input_buffer = fillSource;
    d.source.skip_input_data = skipSource;
    d.source.resync_to_restart = jpeg_resync_to_restart;
    d.source.term_source = endSource;
    d.info.src = &d.source;
}

int nextByte(j_decompress_ptr info)
{
    jpeg_source_mgr* source = info->src;
    if (source->bytes_in_buffer == 0 && !source->fill_input_buffer(info))
        return -1;
    --source->bytes_in_buffer;
    return *source->next_input_byte++;
}

// Keeps the payload of the first EXIF segment and skips every other APP1 segment unread, so
// that no flood of segments is kept.
boolean readApp1(j_decompress_ptr info)
{
    JpegDecoding& d = decodingOf(reinterpret_cast<j_common_ptr>(info));
    const int high = nextByte(info), low = nextByte(info);
    long length = (high << 8 | low) - 2;
    if (high < 0 || low < 0 || length < 0)
        ERREXIT(info, JERR_BAD_LENGTH);
    if (d.exif.empty() && length >= 6) {
        // Read into the decoding's own buffer: a file that ends inside the segment jumps out
        // of this function.
        d.segment.resize(static_cast<std::size_t>(length));
        for (std::uint8_t& byte : d.segment)
            byte = static_cast<std::uint8_t>(nextByte(info));
        if (std::memcmp(d.segment.data(), "Exif\0\0", 6) == 0)
            d.exif.swap(d.segment);
        return TRUE;
    }
    if (length > 0)
        info->src->skip_input_data(info, length);
    return TRUE;
}

bool isMultiScan(j_decompress_ptr info)
{
    return jpeg_has_multiple_scans(info);
}

// Adobe's CMYK and YCCK JPEGs store the inks inverted: 255 means no ink.
void cmykToRgb(const std::uint8_t* cmyk, std::uint32_t* out, JDIMENSION width)
{
    for (JDIMENSION x = 0; x < width; ++x, cmyk += 4) {
        const std::uint32_t k = cmyk[3];
        out[x] = 0xff000000u | (cmyk[0] * k / 255) << 16 | (cmyk[1] * k / 255) << 8 | cmyk[2] * k / 255;
    }
}

bool read(JpegDecoding& d)
{
    if (setjmp(d.jump))
        return false;
    d.info.client_data = &d;
    jpeg_create_decompress(&d.info);
    d.created = true;
    d.info.progress = &d.progress;
    useInput(d);
    jpeg_set_marker_processor(&d.info, JPEG_APP0 + 1, readApp1);
    jpeg_read_header(&d.info, TRUE);
    d.inScans = true;

    const DecodeRequest& request = *d.request;
    RefuseOversizedPicture(request, d.info.image_width, d.info.image_height);
    const int orientation = ExifOrientation(d.exif);
    const bool quarterTurned = orientation >= 5;
    const QSize stored(static_cast<int>(d.info.image_width), static_cast<int>(d.info.image_height));

    for (int c = 0; c < d.info.num_components; ++c)
        d.blocks += std::uint64_t(d.info.comp_info[c].width_in_blocks) * d.info.comp_info[c].height_in_blocks;
    // The block transform's reduction aliases fine detail near its own Nyquist frequency; with
    // at least two and a half times the canvas left, the filter takes that band away. (At a bare
    // twice, a zone plate's stop band showed moire of 4.5 grey levels against 3.2.)
    d.info.scale_num = 1;
    d.info.scale_denom = static_cast<unsigned>(ShrinkOnLoadReduction(stored, quarterTurned, request.canvas * 2.5));
    const bool cmyk = d.info.jpeg_color_space == JCS_CMYK || d.info.jpeg_color_space == JCS_YCCK;
    d.info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRX;
    jpeg_calc_output_dimensions(&d.info);
    const QSize decoded(static_cast<int>(d.info.output_width), static_cast<int>(d.info.output_height));
    // Chroma stored at half resolution is widened by repeating its samples instead of by
    // interpolating them when the filter then shrinks the picture at least twice over: the
    // difference lies far below what the canvas can show, and decoding is a fifth faster.
    const QSize upright = quarterTurned ? decoded.transposed() : decoded;
    if (upright.width() >= 2 * request.canvas.width() && upright.height() >= 2 * request.canvas.height())
        d.info.do_fancy_upsampling = FALSE;

    // Files of several scans are decoded into coefficient buffers for the whole picture first.
    const std::size_t workspace = 16 * 1024 * 1024 + std::size_t(d.info.image_width) * 64;
    const std::size_t libjpegBytes = workspace + (isMultiScan(&d.info) ? d.blocks * DCTSIZE2 * sizeof(JCOEF) : 0);
    if (isMultiScan(&d.info) && !d.info.arith_code
        && d.blocks > MostJpegBlocksPerFileByte * static_cast<std::uint64_t>(request.fileSize()))
        stopWith(d, Stop::TooFewBytes);
    // Throws from here, where no libjpeg frame lies below.
    d.picture.start(decoded, orientation, libjpegBytes);
    d.info.mem->max_memory_to_use = static_cast<long>(libjpegBytes);
    jpeg_start_decompress(&d.info);
    // Both kinds of rows are four bytes a pixel (blue, green, red and a filler, or four inks),
    // and the rows are made for nothing else.
    if (d.info.output_components != 4 || d.info.output_width != JDIMENSION(decoded.width()))
        ERREXIT(&d.info, JERR_CONVERSION_NOTIMPL);

    d.row.resize(d.info.output_width);
    d.inks.resize(cmyk ? std::size_t(d.info.output_width) * 4 : 0);
    while (d.info.output_scanline < d.info.output_height) {
        JSAMPROW line = cmyk ? d.inks.data() : reinterpret_cast<JSAMPROW>(d.row.data());
        jpeg_read_scanlines(&d.info, &line, 1);
        if (cmyk)
            cmykToRgb(d.inks.data(), d.row.data(), d.info.output_width);
        d.picture.addRow(d.row.data());
    }
    jpeg_finish_decompress(&d.info);
    return true;
}

QString causeOf(const JpegDecoding& d)
{
    switch (d.stop) {
    case Stop::Truncated:
        return QString::fromLatin1(TruncatedCause);
    case Stop::TooManyScans:
        return QStringLiteral("it has more than the %1 scans a JPEG may have").arg(MostJpegScans);
    case Stop::TooFewBytes:
        return QStringLiteral("its %1 bytes are too few for a picture of %2 x %3 pixels in several scans")
            .arg(d.request->fileSize())
            .arg(d.info.image_width)
            .arg(d.info.image_height);
    case Stop::TooMuchWork:
        if (d.info.arith_code)
            return QStringLiteral("its %1 scans ask for more work than its %2 bytes can hold (%3 blocks a byte, and %4 "
                                  "passes over its blocks in arithmetic coding)")
                .arg(d.lastScan)
                .arg(d.request->fileSize())
                .arg(MostJpegBlockScansPerFileByte)
                .arg(MostJpegArithmeticPasses);
        return QStringLiteral("its %1 scans ask for more work than its %2 bytes can hold (%3 blocks a byte)")
            .arg(d.lastScan)
            .arg(d.request->fileSize())
            .arg(MostJpegBlockScansPerFileByte);
    case Stop::TooMuchMemory:
        return TooMuchMemoryCause(d.picture.bytes(), d.request->memory.limit());
    case Stop::Unsupported:
        return QStringLiteral("%1 not a kind of JPEG the program reads").arg(d.unsupportedKind);
    default:
        return QStringLiteral("the JPEG data is damaged (%1)").arg(QString::fromLatin1(d.message));
    }
}

} // namespace

Picture DecodeJpeg(const DecodeRequest& request)
{
    JpegDecoding d(request);
    d.info.err = jpeg_std_error(&d.errors);
    d.errors.error_exit = onError;
    d.errors.emit_message = onMessage;
    d.progress.progress_monitor = onProgress;
    if (!read(d))
        RefusePicture(request, d.stop == Stop::TooMuchMemory ? FailureNumber::OutOfMemory : FailureNumber::InvalidPicture,
                      causeOf(d));
    return d.picture.finish();
}
