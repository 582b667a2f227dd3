#include "codecs/SaveAsJPG.h"

#include "codecs/PictureFileWriting.h"
#include "codecs/WrittenFormats.h"
#include "core/Failure.h"
#include "platform/ReplacingFile.h"

#include <bit>
#include <csetjmp>
#include <cstdio>
#include <string>

#include <jpeglib.h>
#include <jerror.h>

namespace {

// The description keeps the form the window's report shows; the path and the cause in
// words travel beside it for messages that name them.
[[noreturn]] void failWith(int status, const QString& path, const QString& cause)
{
    throw Failure(FailureNumber::InvalidCall, "Cannot save the image. GDI+ Error:" + std::to_string(status),
                  path.toStdString(), cause.toStdString());
}

int statusOf(WriteError::Cause cause)
{
    switch (cause) {
    case WriteError::Cause::FolderMissing:
        return JpegStatus::FileNotFound;
    case WriteError::Cause::AccessDenied:
        return JpegStatus::AccessDenied;
    case WriteError::Cause::WriteFailed:
        break;
    }
    return JpegStatus::Win32Error;
}

// Our pixels are 32-bit words 0xffRRGGBB; in memory that is B, G, R, X on a little-endian
// machine and X, R, G, B on a big-endian one. libjpeg reads them where they are.
constexpr J_COLOR_SPACE PixelLayout = std::endian::native == std::endian::little ? JCS_EXT_BGRX : JCS_EXT_XRGB;

// The encoded bytes go to the file a buffer at a time.
constexpr std::size_t OutputBytes = std::size_t(64) << 10;

// Everything one encoding owns. libjpeg reports errors by a long jump back into the step that
// called it, so nothing with a destructor lives in the frames it jumps over.
struct JpegEncoding {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    jpeg_destination_mgr destination{};
    std::jmp_buf jump{};
    ReplacingFile* file = nullptr;
    bool writeFailed = false; // the file refused the bytes, and says why
    char message[JMSG_LENGTH_MAX] = {};
    JOCTET output[OutputBytes];

    JpegEncoding() = default;
    JpegEncoding(const JpegEncoding&) = delete;
    JpegEncoding& operator=(const JpegEncoding&) = delete;
    // Also after a failed creation, which leaves no memory manager behind.
    ~JpegEncoding() { jpeg_destroy_compress(&info); }
};

JpegEncoding& encodingOf(j_common_ptr info)
{
    return *static_cast<JpegEncoding*>(info->client_data);
}

void onError(j_common_ptr info)
{
    JpegEncoding& e = encodingOf(info);
    info->err->format_message(info, e.message);
    std::longjmp(e.jump, 1);
}

void onMessage(j_common_ptr, int) {}

void startOutput(j_compress_ptr info)
{
    JpegEncoding& e = encodingOf(reinterpret_cast<j_common_ptr>(info));
    e.destination.next_output_byte = e.output;
    e.destination.free_in_buffer = OutputBytes;
}

void putOutput(JpegEncoding& e, std::size_t bytes)
{
    if (!e.file->append(e.output, bytes)) {
        e.writeFailed = true;
        std::longjmp(e.jump, 1);
    }
}

// libjpeg hands over the whole buffer whatever its own count says.
boolean passFullOutput(j_compress_ptr info)
{
    JpegEncoding& e = encodingOf(reinterpret_cast<j_common_ptr>(info));
    putOutput(e, OutputBytes);
    startOutput(info);
    return TRUE;
}

void passLastOutput(j_compress_ptr info)
{
    JpegEncoding& e = encodingOf(reinterpret_cast<j_common_ptr>(info));
    putOutput(e, OutputBytes - e.destination.free_in_buffer);
}

// The steps that call libjpeg: only plain values live in their frames. False when libjpeg
// gave up.
bool started(JpegEncoding& e, QSize size, int quality)
{
    e.info.client_data = &e;
    if (setjmp(e.jump))
        return false;
    jpeg_create_compress(&e.info);
    e.destination.init_destination = startOutput;
    e.destination.empty_output_buffer = passFullOutput;
    e.destination.term_destination = passLastOutput;
    e.info.dest = &e.destination;
    e.info.image_width = JDIMENSION(size.width());
    e.info.image_height = JDIMENSION(size.height());
    e.info.in_color_space = PixelLayout;
    e.info.input_components = 4;
    jpeg_set_defaults(&e.info);
    jpeg_set_quality(&e.info, quality, TRUE);
    // The encoder's best output at this quality: the accurate DCT, no chroma subsampling.
    e.info.dct_method = JDCT_ISLOW;
    jpeg_set_colorspace(&e.info, JCS_YCbCr);
    for (int c = 0; c < 3; ++c) {
        e.info.comp_info[c].h_samp_factor = 1;
        e.info.comp_info[c].v_samp_factor = 1;
    }
    jpeg_start_compress(&e.info, TRUE);
    return true;
}

bool wroteRow(JpegEncoding& e, const std::uint32_t* row)
{
    if (setjmp(e.jump))
        return false;
    // libjpeg only reads the row.
    JSAMPROW rows[] = {reinterpret_cast<JSAMPROW>(const_cast<std::uint32_t*>(row))};
    jpeg_write_scanlines(&e.info, rows, 1);
    return true;
}

bool finished(JpegEncoding& e)
{
    if (setjmp(e.jump))
        return false;
    jpeg_finish_compress(&e.info);
    return true;
}

class JpegFile final : public CheckedRowWriter {
public:
    JpegFile(const QString& path, QSize size, int quality) : CheckedRowWriter(size.height()), path_(path), file_(path)
    {
        if (const std::optional<WriteError> error = file_.error())
            failWith(statusOf(error->cause), path_, error->reason);
        e_.info.err = jpeg_std_error(&e_.errors);
        e_.errors.error_exit = onError;
        e_.errors.emit_message = onMessage;
        e_.file = &file_;
        if (!started(e_, size, quality))
            failEncoding();
    }

protected:
    void putRow(const std::uint32_t* row, int) override
    {
        if (!wroteRow(e_, row))
            failEncoding();
    }

    void complete() override
    {
        if (!finished(e_))
            failEncoding();
        if (!file_.commit())
            failWriting();
    }

    void refuseRows(const QString& cause) const override { failWith(JpegStatus::InvalidParameter, path_, cause); }

private:
    [[noreturn]] void failWriting() const
    {
        const WriteError error = *file_.error();
        failWith(statusOf(error.cause), path_, error.reason);
    }

    [[noreturn]] void failEncoding() const
    {
        if (e_.writeFailed)
            failWriting();
        if (e_.errors.msg_code == JERR_OUT_OF_MEMORY)
            failWith(JpegStatus::OutOfMemory, path_, QStringLiteral("there is not enough memory to encode the picture"));
        failWith(JpegStatus::GenericError, path_, QStringLiteral("the JPEG encoder failed: %1").arg(QString::fromUtf8(e_.message)));
    }

    QString path_;
    ReplacingFile file_;
    // After the file, which it writes into, so that it goes first.
    JpegEncoding e_;
};

} // namespace

std::unique_ptr<PictureRowWriter> StartJpegFile(const QString& path, QSize size, int quality)
{
    if (size.isEmpty())
        failWith(JpegStatus::InvalidParameter, path, QStringLiteral("the picture is empty"));
    if (const QString refusal = SideRefusal(WrittenFormat::Jpeg, size); !refusal.isEmpty())
        failWith(JpegStatus::InvalidParameter, path, refusal);
    if (const QString refusal = QualityRefusal(WrittenFormat::Jpeg, quality); !refusal.isEmpty())
        failWith(JpegStatus::InvalidParameter, path, refusal);
    return std::make_unique<JpegFile>(path, size, quality);
}

void SaveJPG(const Picture& picture, const QString& path, int quality)
{
    WritePictureRows(*StartJpegFile(path, SizeToWrite(picture), quality), picture);
}
