#include "job/ResultWriter.h"

#include "codecs/SaveAsJPG.h"
#include "codecs/SavePicture.h"
#include "core/Failure.h"
#include "platform/FileSystem.h"

#include <QDir>
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
    throw Failure(FailureNumber::InvalidCall, "Invalid output file format", path.toStdString(),
                  "the name ends in neither .jpg nor .bmp");
}

void FailWriting(const QString& output, int number, const QString& cause)
{
    throw Failure(number, QStringLiteral("Cannot write %1: %2").arg(QDir::toNativeSeparators(output), cause).toStdString(),
                  output.toStdString(), cause.toStdString());
}

void RefuseWritingOverAPicture(const QString& output, const QStringList& pictures)
{
    for (qsizetype i = 0; i < pictures.size(); ++i) {
        if (!SameFile(output, pictures[i]))
            continue;
        const bool sameName = QFileInfo(output).absoluteFilePath() == QFileInfo(pictures[i]).absoluteFilePath();
        const QString picture = QStringLiteral("picture #%1").arg(i + 1);
        const QString cause =
            (sameName ? QStringLiteral("it is %1 itself").arg(picture)
                      : QStringLiteral("it is the same file as %1, %2").arg(picture, QDir::toNativeSeparators(pictures[i])))
            + QStringLiteral(", and a result never replaces one of its own pictures");
        FailWriting(output, FailureNumber::PathFileAccess, cause);
    }
}
