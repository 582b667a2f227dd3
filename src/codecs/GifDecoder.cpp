#include "codecs/GifDecoder.h"

#include "core/Failure.h"

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

#include <gif_lib.h>

namespace {

constexpr std::uint32_t White = 0xffffffffu;

int readBytes(GifFileType* gif, GifByteType* data, int length)
{
    auto* input = static_cast<PictureInput*>(gif->UserData);
    return length > 0 ? int(input->read(data, std::size_t(length))) : 0;
}

struct CloseGif {
    void operator()(GifFileType* gif) const { DGifCloseFile(gif, nullptr); }
};
using GifFile = std::unique_ptr<GifFileType, CloseGif>;

[[noreturn]] void refuse(const DecodeRequest& request, int error)
{
    if (error == D_GIF_ERR_READ_FAILED || error == D_GIF_ERR_EOF_TOO_SOON)
        RefusePicture(request, FailureNumber::InvalidPicture, QString::fromLatin1(TruncatedCause));
    if (error == D_GIF_ERR_NOT_ENOUGH_MEM)
        RefusePicture(request, FailureNumber::OutOfMemory, QStringLiteral("there is not enough memory to decode it"));
    const char* reason = GifErrorString(error);
    RefusePicture(request, FailureNumber::InvalidPicture,
                  QStringLiteral("the GIF data is damaged (%1)").arg(QString::fromLatin1(reason ? reason : "unknown error")));
}

// Reads the extensions before the first frame; returns the transparent colour of its graphic
// control block, or -1.
int transparentColour(GifFileType* gif, const DecodeRequest& request, int transparent)
{
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif, &code, &block) == GIF_ERROR)
        refuse(request, gif->Error);
    if (code == GRAPHICS_EXT_FUNC_CODE && block) {
        GraphicsControlBlock control;
        if (DGifExtensionToGCB(block[0], block + 1, &control) == GIF_OK)
            transparent = control.TransparentColor;
    }
    while (block) {
        if (DGifGetExtensionNext(gif, &block) == GIF_ERROR)
            refuse(request, gif->Error);
    }
    return transparent;
}

// The frame's colours by index, 0xffRRGGBB; the transparent one and those the map lacks white
// and black.
std::array<std::uint32_t, 256> coloursOf(const ColorMapObject* map, int transparent)
{
    std::array<std::uint32_t, 256> colours;
    colours.fill(0xff000000u);
    for (int i = 0; map && i < std::min(map->ColorCount, 256); ++i) {
        const GifColorType& c = map->Colors[i];
        colours[std::size_t(i)] = 0xff000000u | std::uint32_t(c.Red) << 16 | std::uint32_t(c.Green) << 8 | c.Blue;
    }
    if (transparent >= 0 && transparent < 256)
        colours[std::size_t(transparent)] = White;
    return colours;
}

// The rows of an interlaced frame arrive in four passes: every 8th row from 0, every 8th from
// 4, every 4th from 2, every 2nd from 1.
int interlacedRow(int index, int height)
{
    static constexpr int Start[] = {0, 4, 2, 1}, Step[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass) {
        const int rows = height > Start[pass] ? (height - Start[pass] + Step[pass] - 1) / Step[pass] : 0;
        if (index < rows)
            return Start[pass] + index * Step[pass];
        index -= rows;
    }
    return -1;
}

} // namespace

Picture DecodeGif(const DecodeRequest& request)
{
    int error = 0;
    const GifFile gif(DGifOpen(&request.input, readBytes, &error));
    if (!gif)
        refuse(request, error);

    int transparent = -1;
    GifRecordType record = UNDEFINED_RECORD_TYPE;
    do {
        if (DGifGetRecordType(gif.get(), &record) == GIF_ERROR)
            refuse(request, gif->Error);
        if (record == EXTENSION_RECORD_TYPE)
            transparent = transparentColour(gif.get(), request, transparent);
        else if (record == TERMINATE_RECORD_TYPE)
            RefusePicture(request, FailureNumber::InvalidPicture, QStringLiteral("the GIF holds no picture"));
    } while (record != IMAGE_DESC_RECORD_TYPE);
    if (DGifGetImageDesc(gif.get()) == GIF_ERROR)
        refuse(request, gif->Error);

    const GifImageDesc frame = gif->Image;
    // A screen of no size is taken from the frame, as viewers do.
    const int width = gif->SWidth > 0 ? gif->SWidth : frame.Left + frame.Width;
    const int height = gif->SHeight > 0 ? gif->SHeight : frame.Top + frame.Height;
    RefuseOversizedPicture(request, std::max(width, frame.Width), std::max(height, frame.Height));
    // Only the frame's pixels come from the file's bytes; the rest of the screen is white.
    if (qint64(frame.Width) * frame.Height > MostGifPixelsPerByte * request.fileSize())
        RefusePicture(request, FailureNumber::InvalidPicture,
                      QStringLiteral("its %1 bytes cannot make a frame of %2 x %3 pixels (at most %4 a byte)")
                          .arg(request.fileSize())
                          .arg(frame.Width)
                          .arg(frame.Height)
                          .arg(MostGifPixelsPerByte));
    if (width <= 0 || height <= 0 || frame.Width <= 0 || frame.Height <= 0)
        RefusePicture(request, FailureNumber::InvalidPicture, QStringLiteral("the GIF's picture has no pixels"));

    const std::size_t heldRows = frame.Interlace ? std::size_t(frame.Height) : 1;
    PictureDecoding picture(request);
    picture.start(QSize(width, height), 1, heldRows * std::size_t(frame.Width) + std::size_t(width) * 4);

    std::vector<GifPixelType> indices(heldRows * std::size_t(frame.Width));
    for (int i = 0; i < frame.Height && frame.Interlace; ++i) {
        const int y = interlacedRow(i, frame.Height);
        if (DGifGetLine(gif.get(), &indices[std::size_t(y) * std::size_t(frame.Width)], frame.Width) == GIF_ERROR)
            refuse(request, gif->Error);
    }

    const std::array<std::uint32_t, 256> colours = coloursOf(frame.ColorMap ? frame.ColorMap : gif->SColorMap, transparent);
    // The part of the screen that the frame covers; the rest is white.
    const int left = std::clamp(frame.Left, 0, width), right = std::clamp(frame.Left + frame.Width, 0, width);
    const int top = std::clamp(frame.Top, 0, height), bottom = std::clamp(frame.Top + frame.Height, 0, height);
    std::vector<std::uint32_t> row(std::size_t(width), White);
    picture.addRowsOf(White, std::size_t(top));
    for (int y = top; y < bottom; ++y) {
        const int frameRow = y - frame.Top;
        const GifPixelType* line = frame.Interlace ? &indices[std::size_t(frameRow) * std::size_t(frame.Width)] : indices.data();
        if (!frame.Interlace && DGifGetLine(gif.get(), indices.data(), frame.Width) == GIF_ERROR)
            refuse(request, gif->Error);
        for (int x = left; x < right; ++x)
            row[std::size_t(x)] = colours[line[x - frame.Left]];
        picture.addRow(row.data());
    }
    picture.addRowsOf(White, std::size_t(height - bottom));
    // Rows of a frame that reach below the screen are still read, so that their data is checked.
    for (int y = std::max(0, height - frame.Top); y < frame.Height && !frame.Interlace; ++y) {
        if (DGifGetLine(gif.get(), indices.data(), frame.Width) == GIF_ERROR)
            refuse(request, gif->Error);
    }
    return picture.finish();
}
