#include "job/ExportBlend.h"

#include "codecs/DecoderBudget.h"
#include "codecs/PictureDecoder.h"
#include "core/Failure.h"
#include "core/PixelMemory.h"
#include "engine/Canvas.h"
#include "engine/ScaledRamp.h"
#include "job/BlendPictures.h"
#include "job/ExportFormat.h"
#include "job/ResultWriter.h"

#include <QStringList>

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace {

const QSize WindowSize(Canvas::Width, Canvas::Height);
// A canvas no picture is reduced for: a picture decoded for it keeps its own size.
const QSize NoReduction(1 << 28, 1 << 28);

std::size_t pixelBytes(QSize size)
{
    return static_cast<std::size_t>(size.width()) * static_cast<std::size_t>(size.height()) * sizeof(std::uint32_t);
}

// The pictures of one export, decoded for its size and fit, drawing on one job's memory.
class ExportLoader : public PictureLoader {
public:
    ExportLoader(QSize size, PictureFit fit, DecoderMemory& memory, const StopFlag* stop)
        : size_(size), fit_(fit), memory_(memory), stop_(stop)
    {
    }
    Picture LoadPicture(const QString& path) override { return DecodePictureFile(path, size_, &memory_, fit_, stop_); }

private:
    QSize size_;
    PictureFit fit_;
    DecoderMemory& memory_;
    const StopFlag* stop_;
};

// The shares of the work: decoding both pictures, then composing the rows; the encoding at the
// end is not followed.
constexpr double DecodedShare = 0.5;

constexpr std::size_t JobMemoryBytes = JobDecoderMemoryMiB * 1024 * 1024;

// Once decoded, the export holds both pictures and the result at its size, within what a job
// may use. Refuses a size that needs more.
void refuseOversizedExport(QSize size, const QString& output)
{
    const std::size_t held = 3 * pixelBytes(size);
    if (held > JobMemoryBytes)
        FailWriting(output, FailureNumber::OutOfMemory,
                    QStringLiteral("at %1 x %2 pixels the export would hold %3 MiB, more than the %4 MiB a job may use")
                        .arg(size.width())
                        .arg(size.height())
                        .arg(static_cast<qint64>(held >> 20))
                        .arg(static_cast<qint64>(JobDecoderMemoryMiB)));
}

void refuseSizeOfFormat(ExportFormat format, QSize size, const QString& output)
{
    const QString refusal = ExportSizeRefusal(format, size);
    if (!refusal.isEmpty())
        FailWriting(output, FailureNumber::InvalidCall, refusal);
}

// The blend at the export's size: each row of the result from the same rows of the two
// pictures, the overlay's share taken from the scaled ramp.
Picture composeAtSize(const Picture& base, const Picture& overlay, double direction, double bandStart, QSize size,
                      const ExportControl& control)
{
    const int width = size.width(), height = size.height();
    const bool horizontal = direction == 0;
    const std::vector<std::uint32_t> shares = ScaledRampShares(bandStart, direction, horizontal ? width : height);
    auto pixels = NewPixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        ThrowIfStopped(control.stop);
        if (control.progress && y % 64 == 0)
            control.progress(DecodedShare + (1 - DecodedShare) * y / height);
        std::uint32_t* out = pixels.get() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
        if (horizontal)
            BlendRowAcross(base.row(y), overlay.row(y), shares.data(), out, width);
        else
            BlendRowEvenly(base.row(y), overlay.row(y), shares.empty() ? 0 : shares[static_cast<std::size_t>(y)], out, width);
    }
    return Picture::fromPixels(pixels, width, height);
}

} // namespace

bool ExportSizeAllowed(QSize size)
{
    return size.width() >= 1 && size.height() >= 1
           && static_cast<std::int64_t>(size.width()) * size.height() < MostPicturePixels;
}

std::optional<ExportSize> ExportSizeFromText(const QString& name)
{
    using Choice = ExportSize::Choice;
    if (name == QLatin1String("window"))
        return ExportSize{Choice::Window, {}};
    if (name == QLatin1String("first"))
        return ExportSize{Choice::First, {}};
    if (name == QLatin1String("second"))
        return ExportSize{Choice::Second, {}};
    const QStringList sides = name.split(QLatin1Char('x'));
    if (sides.size() != 2)
        return std::nullopt;
    bool wholeWidth = false, wholeHeight = false;
    const QSize given(sides[0].toInt(&wholeWidth), sides[1].toInt(&wholeHeight));
    // Digits only: toInt would also take a sign or spaces.
    const auto digits = [](const QString& text) {
        return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
    };
    if (!wholeWidth || !wholeHeight || !digits(sides[0]) || !digits(sides[1]) || !ExportSizeAllowed(given))
        return std::nullopt;
    return ExportSize{Choice::Given, given};
}

QString ExportSizeText(const ExportSize& size)
{
    switch (size.choice) {
    case ExportSize::Choice::First:
        return QStringLiteral("first");
    case ExportSize::Choice::Second:
        return QStringLiteral("second");
    case ExportSize::Choice::Given:
        return QStringLiteral("%1x%2").arg(size.given.width()).arg(size.given.height());
    case ExportSize::Choice::Window:
        break;
    }
    return QStringLiteral("window");
}

void RefuseExportOutput(const QString& output, const QString& picture1, const QString& picture2)
{
    if (ExportFormatOf(output) == ExportFormat::Invalid)
        FailWriting(output, FailureNumber::InvalidCall,
                    QStringLiteral("Invalid output file format (use %1)").arg(ExportExtensionsText()));
    RefuseWritingOverAPicture(output, {picture1, picture2});
}

void ExportBlend(const ExportRequest& request, const ExportControl& control)
{
    const QString& output = request.output;
    RefuseExportOutput(output, request.picture1, request.picture2);
    const ExportFormat format = ExportFormatOf(output);

    const bool firstIsBase = request.blend.baseField == 1;
    const QString& basePath = firstIsBase ? request.picture1 : request.picture2;
    const QString& overlayPath = firstIsBase ? request.picture2 : request.picture1;
    Picture base, overlay;
    QSize size;
    using Choice = ExportSize::Choice;
    const Choice choice = request.size.choice;
    if (choice == Choice::First || choice == Choice::Second) {
        // The picture that gives the size is decoded at its own size first; the other is then
        // decoded for it.
        const bool sizedByBase = (choice == Choice::First) == firstIsBase;
        const QString& sizingPath = sizedByBase ? basePath : overlayPath;
        const Picture sizing = DecodePictureFile(sizingPath, NoReduction, nullptr, PictureFit::Stretch, control.stop);
        size = QSize(sizing.width, sizing.height);
        refuseSizeOfFormat(format, size, output);
        refuseOversizedExport(size, output);
        // The sizing picture is held while the other is decoded.
        DecoderMemory memory(JobMemoryBytes - pixelBytes(size));
        const Picture other = DecodePictureFile(sizedByBase ? overlayPath : basePath, size, &memory, request.fit, control.stop);
        base = sizedByBase ? sizing : other;
        overlay = sizedByBase ? other : sizing;
    } else {
        size = choice == Choice::Window ? WindowSize : request.size.given;
        refuseSizeOfFormat(format, size, output);
        refuseOversizedExport(size, output);
        DecoderMemory memory;
        ExportLoader loader(size, request.fit, memory, control.stop);
        const BlendPictures pictures = LoadBlendPictures(loader, basePath, overlayPath);
        base = TakePicture(pictures.base);
        overlay = TakePicture(pictures.overlay);
    }

    ThrowIfStopped(control.stop);
    if (control.progress)
        control.progress(DecodedShare);
    Picture result;
    if (size == WindowSize && request.fit == PictureFit::Stretch) {
        result = ComposeWindowBlend(std::move(base), std::move(overlay), request.blend.direction, request.bandStart);
    } else {
        const Picture fittedBase = FitToSize(base, size.width(), size.height(), request.fit);
        base = Picture();
        const Picture fittedOverlay = FitToSize(overlay, size.width(), size.height(), request.fit);
        overlay = Picture();
        result = composeAtSize(fittedBase, fittedOverlay, request.blend.direction, request.bandStart, size, control);
    }
    WriteExport(result, output, request.quality, control.stop);
    if (control.progress)
        control.progress(1);
}
