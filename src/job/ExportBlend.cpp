#include "job/ExportBlend.h"

#include "codecs/DecoderBudget.h"
#include "codecs/PictureDecoder.h"
#include "core/Failure.h"
#include "engine/Canvas.h"
#include "engine/ScaledRamp.h"
#include "job/BlendPictures.h"
#include "job/ExportFormat.h"
#include "job/PairRows.h"
#include "job/ResultWriter.h"
#include "platform/FileSystem.h"
#include "platform/PictureLoader.h"

#include <QStringList>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <system_error>
#include <thread>

namespace {

const QSize WindowSize(Canvas::Width, Canvas::Height);

std::size_t pixelBytes(QSize size)
{
    return static_cast<std::size_t>(size.width()) * static_cast<std::size_t>(size.height()) * sizeof(std::uint32_t);
}

constexpr std::size_t JobMemoryBytes = JobDecoderMemoryMiB * 1024 * 1024;

// The rows on their way from each decoder to the blending: enough to even out the bursts in
// which a resampler makes them, within a megabyte a picture where rows are long.
constexpr std::size_t RingBytes = 1024 * 1024;
constexpr std::size_t MostRingRows = 16;

std::size_t ringRowsFor(int width)
{
    const std::size_t rowBytes = std::size_t(width) * sizeof(std::uint32_t);
    return std::clamp<std::size_t>(RingBytes / rowBytes, 2, MostRingRows);
}

void refuseSizeOfFormat(ExportFormat format, QSize size, const QString& output)
{
    const QString refusal = ExportSizeRefusal(format, size);
    if (!refusal.isEmpty())
        FailWriting(output, FailureNumber::InvalidCall, refusal);
}

// What the export holds besides its decoders: the rings of rows, the blended row, and, for a
// format that is encoded whole, the blend itself. Refuses a size at which that leaves the
// decoders less than half of a job's memory; returns what is left for them.
std::size_t decoderMemoryLeft(ExportFormat format, QSize size, const QString& output)
{
    const std::size_t rowBytes = std::size_t(size.width()) * sizeof(std::uint32_t);
    std::size_t held = (2 * ringRowsFor(size.width()) + 1) * rowBytes;
    if (format == ExportFormat::WebP)
        held += pixelBytes(size);
    if (held > JobMemoryBytes / 2)
        FailWriting(output, FailureNumber::OutOfMemory,
                    QStringLiteral("at %1 x %2 pixels the export would hold %3 MiB besides its pictures, more than "
                                   "half of the %4 MiB a job may use")
                        .arg(size.width())
                        .arg(size.height())
                        .arg(static_cast<qint64>(held >> 20))
                        .arg(static_cast<qint64>(JobDecoderMemoryMiB)));
    return JobMemoryBytes - held;
}

// The two decoding threads of an export. However the export ends, they are stopped and
// waited for before it returns.
class DecodingThreads {
public:
    explicit DecodingThreads(PairRows& rows) : rows_(rows) {}
    DecodingThreads(const DecodingThreads&) = delete;
    DecodingThreads& operator=(const DecodingThreads&) = delete;
    ~DecodingThreads()
    {
        rows_.stopDecoders();
        for (std::thread& thread : threads_)
            if (thread.joinable())
                thread.join();
    }

    void start(PairRows::Side side, const QString& path, QSize size, PictureFit fit, DecoderMemory& memory)
    {
        const auto decode = [this, side, path, size, fit, &memory] {
            try {
                DecodePictureRows(path, size, fit, memory, rows_.sinkOf(side), &rows_.decodersStop());
                rows_.ended(side, nullptr);
            } catch (...) {
                rows_.ended(side, std::current_exception());
            }
        };
        try {
            threads_[side] = std::thread(decode);
        } catch (const std::system_error&) {
            throw PictureLoadFailure(FailureNumber::OutOfMemory, path, QStringLiteral("no thread could be started to decode it"));
        }
    }

private:
    PairRows& rows_;
    std::thread threads_[2];
};

// The failure that ends an export whose pictures did not both arrive whole: the base's before
// the overlay's, as the window's job reports them.
[[noreturn]] void throwPictureFailure(PairRows& rows)
{
    for (const PairRows::Side side : {PairRows::Base, PairRows::Overlay})
        if (const std::exception_ptr failure = rows.failureOf(side))
            std::rethrow_exception(failure);
    // Every decoding hands on all the rows of its size, white where its file ends early.
    throw std::logic_error("a picture's decoding ended without its last rows");
}

// The blend at the export's size, a row at a time: the decoders of both pictures hand their
// rows, already brought to the size by the fit, to the blending, which writes each row of the
// result as soon as it is made.
void streamBlend(const ExportRequest& request, const QString& basePath, const QString& overlayPath, QSize size,
                 ExportFormat format, const ExportControl& control)
{
    const QString& output = request.output;
    const int width = size.width(), height = size.height();
    DecoderMemory memory(decoderMemoryLeft(format, size, output), DecoderMemory::WhenShort::Refuse);
    const bool horizontal = request.blend.direction == 0;
    const std::vector<std::uint32_t> shares =
        ScaledRampShares(request.bandStart, request.blend.direction, horizontal ? width : height);
    // Opened before anything is decoded: a folder that cannot be written is told at once.
    const std::unique_ptr<PictureRowWriter> writer = StartExportFile(output, size, request.quality, control.stop);

    PairRows rows(width, int(ringRowsFor(width)));
    DecodingThreads threads(rows);
    threads.start(PairRows::Base, basePath, size, request.fit, memory);
    threads.start(PairRows::Overlay, overlayPath, size, request.fit, memory);

    std::vector<std::uint32_t> blended(static_cast<std::size_t>(width));
    for (int y = 0; y < height; ++y) {
        ThrowIfStopped(control.stop);
        const std::optional<PairRows::Rows> pair = rows.waitFor(y, control.stop);
        if (!pair) {
            // The overlay is not needed once the base has failed; after the overlay's failure
            // the base is decoded to its end, for a failure of its own comes first.
            if (rows.failureOf(PairRows::Base))
                rows.stopDecoders();
            rows.waitForEnds(control.stop);
            ThrowIfStopped(control.stop);
            throwPictureFailure(rows);
        }
        if (horizontal)
            BlendRowAcross(pair->base, pair->overlay, shares.data(), blended.data(), width);
        else
            BlendRowEvenly(pair->base, pair->overlay, shares.empty() ? 0 : shares[static_cast<std::size_t>(y)],
                           blended.data(), width);
        rows.release();
        writer->writeRow(blended.data());
        if (control.progress && y % 64 == 0)
            control.progress(double(y) / height);
    }
    // A decoder may still fail after its last row, at the end of its file.
    rows.waitForEnds(control.stop);
    ThrowIfStopped(control.stop);
    if (rows.failureOf(PairRows::Base) || rows.failureOf(PairRows::Overlay))
        throwPictureFailure(rows);
    writer->finish();
}

// The export at the window's size with the stretch fit is the window's own blend, pixel for
// pixel: both pictures decoded for the canvas and composed as the start button does.
void windowBlend(const ExportRequest& request, const QString& basePath, const QString& overlayPath,
                 const ExportControl& control)
{
    PictureFileLoader files(WindowSize);
    const StopFlag never{false};
    StoppingLoader loader(files, control.stop ? *control.stop : never);
    const BlendPictures pictures = LoadBlendPictures(loader, basePath, overlayPath);
    Picture base = TakePicture(pictures.base);
    Picture overlay = TakePicture(pictures.overlay);
    ThrowIfStopped(control.stop);
    const Picture result = ComposeWindowBlend(std::move(base), std::move(overlay), request.blend.direction, request.bandStart);
    WriteExport(result, request.output, request.quality, control.stop);
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
    using Choice = ExportSize::Choice;
    QSize size;
    switch (request.size.choice) {
    case Choice::First:
        size = PictureFileSize(request.picture1);
        break;
    case Choice::Second:
        size = PictureFileSize(request.picture2);
        break;
    case Choice::Window:
        size = WindowSize;
        break;
    case Choice::Given:
        size = request.size.given;
        break;
    }
    refuseSizeOfFormat(format, size, output);
    if (size == WindowSize && request.fit == PictureFit::Stretch)
        windowBlend(request, basePath, overlayPath, control);
    else
        streamBlend(request, basePath, overlayPath, size, format, control);
    if (control.progress)
        control.progress(1);
}
