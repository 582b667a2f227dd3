#include "job/ResultWriter.h"

#include "job/SaveAsJPG.h"
#include "job/SavePicture.h"
#include "core/Failure.h"

#include <QFileInfo>

ResultFormat ResultFormatOf(const QString& path)
{
    const QString extension = QFileInfo(path).suffix();
    if (extension.compare(QLatin1String("bmp"), Qt::CaseInsensitive) == 0)
        return ResultFormat::Bmp;
    if (extension.compare(QLatin1String("jpg"), Qt::CaseInsensitive) == 0)
        return ResultFormat::Jpeg;
    return ResultFormat::Invalid;
}

void WriteResult(const Picture& image, const QString& path)
{
    switch (ResultFormatOf(path)) {
    case ResultFormat::Bmp:
        SavePicture(image, path);
        return;
    case ResultFormat::Jpeg:
        SaveJPG(image, path, ResultQuality);
        return;
    case ResultFormat::Invalid:
        break;
    }
    throw Failure(FailureNumber::InvalidCall, "Invalid output file format");
}
