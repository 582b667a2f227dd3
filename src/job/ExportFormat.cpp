#include "job/ExportFormat.h"

#include "codecs/SaveAsJPG.h"
#include "codecs/SaveAsPNG.h"
#include "codecs/SaveAsWebP.h"
#include "codecs/SavePicture.h"
#include "core/Failure.h"
#include "job/ResultWriter.h"

#include <QFileInfo>

namespace {

struct FormatName {
    const char* extension;
    ExportFormat format;
};

constexpr FormatName Extensions[] = {
    {"jpg", ExportFormat::Jpeg}, {"jpeg", ExportFormat::Jpeg}, {"png", ExportFormat::Png},
    {"webp", ExportFormat::WebP}, {"bmp", ExportFormat::Bmp},
};

int longestSide(ExportFormat format)
{
    switch (format) {
    case ExportFormat::Jpeg:
        return MaxJpegSide;
    case ExportFormat::WebP:
        return MaxWebPSide;
    default:
        return 0;
    }
}

const char* nameOf(ExportFormat format)
{
    return format == ExportFormat::Jpeg ? "JPEG" : "WebP";
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
    const int longest = longestSide(format);
    if (longest == 0 || (size.width() <= longest && size.height() <= longest))
        return {};
    return QStringLiteral("a %1 picture can have at most %2 pixels a side, not %3 x %4")
        .arg(QLatin1String(nameOf(format)))
        .arg(longest)
        .arg(size.width())
        .arg(size.height());
}

void WriteExport(const Picture& picture, const QString& path, int quality, const StopFlag* stop)
{
    ThrowIfStopped(stop);
    try {
        switch (ExportFormatOf(path)) {
        case ExportFormat::Jpeg:
            SaveJPG(picture, path, quality);
            return;
        case ExportFormat::Png:
            SavePNG(picture, path, stop);
            return;
        case ExportFormat::WebP:
            SaveWebP(picture, path, quality, stop);
            return;
        case ExportFormat::Bmp:
            SavePicture(picture, path);
            return;
        case ExportFormat::Invalid:
            break;
        }
    } catch (const Failure& failure) {
        // The writers word their descriptions for the window's report; this one names the file
        // and the cause.
        if (failure.cause().empty())
            throw;
        FailWriting(QString::fromStdString(failure.path()), failure.number(), QString::fromStdString(failure.cause()));
    }
    FailWriting(path, FailureNumber::InvalidCall,
                QStringLiteral("Invalid output file format (use %1)").arg(ExportExtensionsText()));
}
