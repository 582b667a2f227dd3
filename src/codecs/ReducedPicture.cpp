#include "codecs/ReducedPicture.h"

#include <algorithm>

namespace {

bool turnsAQuarter(int orientation)
{
    return orientation >= 5 && orientation <= 8;
}

std::size_t pixelCount(QSize size)
{
    return static_cast<std::size_t>(size.width()) * static_cast<std::size_t>(size.height());
}

} // namespace

int ShrinkOnLoadReduction(QSize stored, bool quarterTurned, QSize minimum)
{
    const QSize upright = quarterTurned ? stored.transposed() : stored;
    for (const int reduction : {8, 4, 2}) {
        // libjpeg rounds the reduced size up.
        if ((upright.width() + reduction - 1) / reduction >= minimum.width()
            && (upright.height() + reduction - 1) / reduction >= minimum.height())
            return reduction;
    }
    return 1;
}

QSize ReducedSize(QSize decoded, bool quarterTurned, QSize canvas, PictureFit fit)
{
    const QSize upright = quarterTurned ? decoded.transposed() : decoded;
    const auto side = [](int length, int canvasLength) { return std::min(length, canvasLength); };
    QSize reduced(side(upright.width(), canvas.width()), side(upright.height(), canvas.height()));
    if (fit == PictureFit::Cover) {
        const PixelSize covering = CoverSize(upright.width(), upright.height(), canvas.width(), canvas.height());
        reduced = QSize(covering.width, covering.height);
    }
    return quarterTurned ? reduced.transposed() : reduced;
}

std::size_t ReductionBytes(QSize stored, int orientation, QSize canvas, PictureFit fit)
{
    const QSize reduced = ReducedSize(stored, turnsAQuarter(orientation), canvas, fit);
    return RowResampler::BytesNeeded(stored.width(), stored.height(), reduced.width(), reduced.height())
           + 2 * pixelCount(reduced) * sizeof(std::uint32_t) // the picture, and turned upright
           + static_cast<std::size_t>(stored.width()) * sizeof(std::uint32_t);
}

ReducedPicture::ReducedPicture(QSize stored, int orientation, QSize canvas, PictureFit fit)
    : size_(ReducedSize(stored, turnsAQuarter(orientation), canvas, fit)),
      pixels_(NewPixels(pixelCount(size_))), orientation_(orientation),
      resampler_(stored.width(), stored.height(), {pixels_.get(), size_.width(), size_.height(), size_.width()}),
      flat_(static_cast<std::size_t>(stored.width()))
{
}

void ReducedPicture::addRowOntoWhite(const std::uint32_t* row)
{
    for (std::size_t x = 0; x < flat_.size(); ++x) {
        const std::uint32_t p = row[x];
        const std::uint32_t a = p >> 24;
        if (a == 255) {
            flat_[x] = p;
            continue;
        }
        std::uint32_t out = 0xff000000u;
        for (int shift = 0; shift < 24; shift += 8) {
            const std::uint32_t c = (p >> shift) & 0xff;
            out |= ((c * a + 255 * (255 - a) + 127) / 255) << shift;
        }
        flat_[x] = out;
    }
    resampler_.addRow(flat_.data());
}

Picture ReducedPicture::finish()
{
    // Every decoder hands all its rows; should one stop short, the rest of the picture is white
    // rather than whatever the memory held before.
    if (!resampler_.finished())
        std::fill(flat_.begin(), flat_.end(), 0xffffffffu);
    while (!resampler_.finished())
        resampler_.addRow(flat_.data());
    const int w = size_.width(), h = size_.height();
    if (orientation_ <= 1 || orientation_ > 8)
        return Picture::fromPixels(pixels_, w, h);
    // Where each stored pixel (x, y) goes in the upright picture.
    const bool quarter = turnsAQuarter(orientation_);
    const int uw = quarter ? h : w;
    auto upright = NewPixels(pixelCount(size_));
    for (int y = 0; y < h; ++y) {
        const std::uint32_t* in = pixels_.get() + static_cast<std::size_t>(y) * w;
        for (int x = 0; x < w; ++x) {
            int ux = x, uy = y;
            switch (orientation_) {
            case 2: ux = w - 1 - x; break;
            case 3: ux = w - 1 - x; uy = h - 1 - y; break;
            case 4: uy = h - 1 - y; break;
            case 5: ux = y; uy = x; break;
            case 6: ux = h - 1 - y; uy = x; break;
            case 7: ux = h - 1 - y; uy = w - 1 - x; break;
            case 8: ux = y; uy = w - 1 - x; break;
            }
            upright[static_cast<std::size_t>(uy) * uw + ux] = in[x];
        }
    }
    pixels_.reset();
    return Picture::fromPixels(upright, uw, quarter ? w : h);
}
