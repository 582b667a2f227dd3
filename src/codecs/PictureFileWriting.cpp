#include "codecs/PictureFileWriting.h"

#include "core/Failure.h"
#include "platform/FileSystem.h"

#include <QDir>

void FailSavingPicture(int number, const QString& path, const QString& cause)
{
    throw Failure(number,
                  QStringLiteral("Cannot save the picture %1: %2").arg(QDir::toNativeSeparators(path), cause).toStdString(),
                  path.toStdString(), cause.toStdString());
}

void WritePictureBytes(const QString& path, const QByteArray& bytes)
{
    if (const std::optional<WriteError> error = WriteFileReplacing(path, bytes))
        FailSavingPicture(error->cause == WriteError::Cause::FolderMissing ? FailureNumber::PathNotFound
                                                                          : FailureNumber::PathFileAccess,
                          path, error->reason);
}
