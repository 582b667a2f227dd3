#include "job/ExportFormat.h"

#include "codecs/SaveAsJPG.h"
#include "codecs/SaveAsPNG.h"
#include "codecs/SaveAsWebP.h"
#include "codecs/SavePicture.h"
#include "codecs/WrittenFormats.h"
#include "core/Failure.h"
#include "job/ResultWriter.h"

#include <QFileInfo>

#include <optional>

namespace {

struct FormatName {
    const char* extension;
    ExportFormat format;
};

constexpr FormatName Extensions[] = {
    {"jpg", ExportFormat::Jpeg}, {"jpeg", ExportFormat::Jpeg}, {"png", ExportFormat::Png},
    {"webp", ExportFormat::WebP}, {"bmp", ExportFormat::Bmp},
};

std::optional<WrittenFormat> writtenFormatOf(ExportFormat format)
{
    switch (format) {
    case ExportFormat::Jpeg:
        return WrittenFormat::Jpeg;
    case ExportFormat::Png:
        return WrittenFormat::Png;
    case ExportFormat::WebP:
        return WrittenFormat::WebP;
    case ExportFormat::Bmp:
        return WrittenFormat::Bmp;
    case ExportFormat::Invalid:
        break;
    }
    return std::nullopt;
}

// The writers word their failures for the window's report; an export's failures name the file
// and the cause.
template <typename Step>
auto rewordingFailures(Step step)
{
    try {
        return step();
    } catch (const Failure& failure) {
        if (failure.cause().empty())
            throw;
        FailWriting(QString::fromStdString(failure.path()), failure.number(), QString::fromStdString(failure.cause()));
    }
}

class ExportFile final : public PictureRowWriter {
public:
    explicit ExportFile(std::unique_ptr<PictureRowWriter> writer) : writer_(std::move(writer)) {}

    void writeRow(const std::uint32_t* row) override
    {
        rewordingFailures([&] { writer_->writeRow(row); });
    }
    void finish() override
    {
        rewordingFailures([&] { writer_->finish(); });
    }

private:
    std::unique_ptr<PictureRowWriter> writer_;
};

std::unique_ptr<PictureRowWriter> startWriter(ExportFormat format, const QString& path, QSize size, int quality,
                                              const StopFlag* stop)
{
    switch (format) {
    case ExportFormat::Jpeg:
        return StartJpegFile(path, size, quality);
    case ExportFormat::Png:
        return StartPngFile(path, size);
    case ExportFormat::WebP:
        return StartWebPFile(path, size, quality, stop);
    case ExportFormat::Bmp:
        return StartBmpFile(path, size);
    case ExportFormat::Invalid:
        break;
    }
    FailWriting(path, FailureNumber::InvalidCall,
                QStringLiteral("Invalid output file format (use %1)").arg(ExportExtensionsText()));
}

} // namespace

ExportFormat ExportFormatOf(const QString& path)
{
    const QString extension = QFileInfo(path).suffix();
    for (const FormatName& name : Extensions)
        if (extension.compare(QLatin1String(name.extension), Qt::CaseInsensitive) == 0)
            return name.format;
    return ExportFormat::Invalid;
}

QString ExportExtensionsText()
{
    QStringList names;
    for (const FormatName& name : Extensions)
        names << QLatin1Char('.') + QLatin1String(name.extension);
    const QString last = names.takeLast();
    return names.join(QLatin1String(", ")) + QLatin1String(" or ") + last;
}

QString ExportSizeRefusal(ExportFormat format, QSize size)
{
    const std::optional<WrittenFormat> written = writtenFormatOf(format);
    const QString refusal = written ? SideRefusal(*written, size) : QString();
    if (refusal.isEmpty())
        return {};
    return QStringLiteral("%1, not %2 x %3").arg(refusal).arg(size.width()).arg(size.height());
}

std::unique_ptr<PictureRowWriter> StartExportFile(const QString& path, QSize size, int quality, const StopFlag* stop)
{
    return std::make_unique<ExportFile>(
        rewordingFailures([&] { return startWriter(ExportFormatOf(path), path, size, quality, stop); }));
}

void WriteExport(const Picture& picture, const QString& path, int quality, const StopFlag* stop)
{
    ThrowIfStopped(stop);
    WritePictureRows(*StartExportFile(path, SizeToWrite(picture), quality, stop), picture, stop);
}
