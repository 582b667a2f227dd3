#include "codecs/ReducedPicture.h"

#include <algorithm>
#include <limits>

namespace {

// The pixels a piece for the box shrink holds.
constexpr std::size_t PiecePixels = 4096;

std::size_t pixelCount(QSize size)
{
    return static_cast<std::size_t>(size.width()) * static_cast<std::size_t>(size.height());
}

// The factors of the box shrink before the filter: 1 for a side the filter alone reduces.
QSize boxFactorsFor(QSize stored, QSize reduced)
{
    return QSize(BoxShrink::FactorLeaving(stored.width(), reduced.width(), ReducedPicture::FilterReduction),
                 BoxShrink::FactorLeaving(stored.height(), reduced.height(), ReducedPicture::FilterReduction));
}

// The size that reaches the filter.
QSize shrunkSize(QSize stored, QSize factors)
{
    return QSize(BoxShrink::ShrunkLength(stored.width(), factors.width()),
                 BoxShrink::ShrunkLength(stored.height(), factors.height()));
}

bool shrinksInBoxes(QSize factors)
{
    return factors != QSize(1, 1);
}

// What the rows hold on their way to the filter: the box shrink and its piece, or the row
// being gathered.
std::size_t bytesBeforeTheFilter(QSize stored, QSize factors)
{
    return shrinksInBoxes(factors) ? BoxShrink::BytesNeeded(stored.width(), factors.width())
                                         + std::min(PiecePixels, std::size_t(stored.width())) * sizeof(std::uint32_t)
                                   : static_cast<std::size_t>(stored.width()) * sizeof(std::uint32_t);
}

void flattenOntoWhite(const std::uint32_t* in, std::size_t count, std::uint32_t* out)
{
    for (std::size_t x = 0; x < count; ++x) {
        const std::uint32_t p = in[x];
        const std::uint32_t a = p >> 24;
        if (a == 255) {
            out[x] = p;
            continue;
        }
        std::uint32_t flat = 0xff000000u;
        for (int shift = 0; shift < 24; shift += 8) {
            const std::uint32_t c = (p >> shift) & 0xff;
            flat |= ((c * a + 255 * (255 - a) + 127) / 255) << shift;
        }
        out[x] = flat;
    }
}

} // namespace

bool TurnsAQuarter(int orientation)
{
    return orientation >= 5 && orientation <= 8;
}

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
        // Reduced as far as it still covers, with its proportions; a picture that would have to
        // grow stays as it is, for the fit to enlarge.
        const PixelSize covering =
            FittedScaleOf(upright.width(), upright.height(), canvas.width(), canvas.height(), fit).scaled;
        const bool shrinks = covering.width <= upright.width() && covering.height <= upright.height();
        reduced = shrinks ? QSize(covering.width, covering.height) : upright;
    }
    return quarterTurned ? reduced.transposed() : reduced;
}

std::size_t ReductionBytes(QSize stored, int orientation, QSize canvas, PictureFit fit)
{
    const QSize reduced = ReducedSize(stored, TurnsAQuarter(orientation), canvas, fit);
    const QSize factors = boxFactorsFor(stored, reduced);
    const QSize shrunk = shrunkSize(stored, factors);
    return RowResampler::BytesNeeded(shrunk.width(), shrunk.height(), reduced.width(), reduced.height())
           + bytesBeforeTheFilter(stored, factors)
           + 2 * pixelCount(reduced) * sizeof(std::uint32_t); // the picture, and turned upright
}

ReducedPicture::ReducedPicture(QSize stored, int orientation, QSize canvas, PictureFit fit)
    : size_(ReducedSize(stored, TurnsAQuarter(orientation), canvas, fit)), boxFactors_(boxFactorsFor(stored, size_)),
      pixels_(NewPixels(pixelCount(size_))), orientation_(orientation), storedWidth_(std::size_t(stored.width())),
      resampler_(shrunkSize(stored, boxFactors_).width(), shrunkSize(stored, boxFactors_).height(),
                 {pixels_.get(), size_.width(), size_.height(), size_.width()})
{
    prepareRows(stored);
}

ReducedPicture::ReducedPicture(QSize stored, QSize target, PictureFit fit, RowSink& sink)
    : ReducedPicture(stored, FittedScaleOf(stored.width(), stored.height(), target.width(), target.height(), fit), sink)
{
}

ReducedPicture::ReducedPicture(QSize stored, const FittedScale& scale, RowSink& sink)
    : size_(scale.scaled.width, scale.scaled.height), boxFactors_(boxFactorsFor(stored, size_)), orientation_(1),
      storedWidth_(std::size_t(stored.width())), shown_(std::make_unique<ShownRows>(scale.shown, sink)),
      resampler_(FittedResampler(shrunkSize(stored, boxFactors_).width(), shrunkSize(stored, boxFactors_).height(), scale,
                                 *shown_))
{
    prepareRows(stored);
}

std::size_t ReducedPicture::StreamingBytes(QSize stored, QSize target, PictureFit fit)
{
    const FittedScale scale = FittedScaleOf(stored.width(), stored.height(), target.width(), target.height(), fit);
    const QSize factors = boxFactorsFor(stored, QSize(scale.scaled.width, scale.scaled.height));
    const QSize shrunk = shrunkSize(stored, factors);
    return FittedRowsBytes(shrunk.width(), shrunk.height(), scale) + bytesBeforeTheFilter(stored, factors);
}

void ReducedPicture::prepareRows(QSize stored)
{
    if (shrinksInBoxes(boxFactors_)) {
        box_.emplace(stored.width(), stored.height(), boxFactors_.width(), boxFactors_.height());
        pending_.resize(std::min(PiecePixels, storedWidth_));
    } else {
        pending_.resize(storedWidth_);
    }
}

void ReducedPicture::addPixels(const std::uint32_t* pixels, std::size_t count)
{
    while (count > 0 && !complete()) {
        // Whole rows go to the filter as they are: the path of every photo.
        if (!box_ && rowAt_ == 0 && count >= storedWidth_ && storedWidth_ > 0) {
            resampler_.addRow(pixels);
            pixels += storedWidth_;
            count -= storedWidth_;
            continue;
        }
        const std::span<std::uint32_t> into = room(count);
        std::copy_n(pixels, into.size(), into.data());
        commit(into.size());
        pixels += into.size();
        count -= into.size();
    }
}

void ReducedPicture::addPixelsOntoWhite(const std::uint32_t* pixels, std::size_t count)
{
    while (count > 0 && !complete()) {
        const std::span<std::uint32_t> into = room(count);
        flattenOntoWhite(pixels, into.size(), into.data());
        commit(into.size());
        pixels += into.size();
        count -= into.size();
    }
}

void ReducedPicture::addRowsOf(std::uint32_t colour, std::size_t rows)
{
    if (rows > 0 && rowAt_ != 0) {
        // The current row is completed first.
        while (rowAt_ != 0 && !complete()) {
            const std::span<std::uint32_t> into = room(storedWidth_);
            std::fill(into.begin(), into.end(), colour);
            commit(into.size());
        }
        --rows;
    }
    if (rows == 0)
        return;
    if (!box_) {
        // The filter alone reduces only short rows: each is made once and handed over and over.
        std::fill(pending_.begin(), pending_.end(), colour);
        for (std::size_t row = 0; row < rows && !complete(); ++row)
            resampler_.addRow(pending_.data());
        return;
    }
    while (rows > 0 && !complete()) {
        const int inBox = int(std::min<std::size_t>(rows, std::size_t(box_->rowsLeftInBox())));
        if (const std::uint32_t* shrunk = box_->addRowsOf(colour, inBox))
            resampler_.addRow(shrunk);
        rows -= std::size_t(inBox);
    }
}

std::span<std::uint32_t> ReducedPicture::room(std::size_t wanted)
{
    const std::size_t leftInRow = storedWidth_ - rowAt_;
    if (box_)
        return {pending_.data(), std::min({wanted, leftInRow, pending_.size()})};
    return {pending_.data() + rowAt_, std::min(wanted, leftInRow)};
}

void ReducedPicture::commit(std::size_t count)
{
    rowAt_ += count;
    const bool rowEnds = rowAt_ == storedWidth_;
    if (box_) {
        if (const std::uint32_t* shrunk = box_->add(pending_.data(), count))
            resampler_.addRow(shrunk);
    } else if (rowEnds) {
        resampler_.addRow(pending_.data());
    }
    if (rowEnds)
        rowAt_ = 0;
}

Picture ReducedPicture::finish()
{
    // Every decoder hands all its rows; should one stop short, the rest of the picture is white
    // rather than whatever the memory held before.
    addRowsOf(0xffffffffu, std::numeric_limits<std::size_t>::max());
    if (!pixels_)
        return Picture();
    const int w = size_.width(), h = size_.height();
    if (orientation_ <= 1 || orientation_ > 8)
        return Picture::fromPixels(pixels_, w, h);
    // Where each stored pixel (x, y) goes in the upright picture.
    const bool quarter = TurnsAQuarter(orientation_);
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
