#include "platform/DecodeRequest.h"

#include "platform/PictureDecoder.h"
#include "core/Failure.h"

void RefusePicture(const DecodeRequest& request, int number, const QString& cause)
{
    throw Failure(number, QStringLiteral("Cannot load the picture %1: %2").arg(request.shownPath, cause).toStdString());
}

void RefuseOversizedPicture(const DecodeRequest& request, qint64 width, qint64 height)
{
    if (width * height >= MostPicturePixels)
        RefusePicture(request, FailureNumber::OutOfMemory,
                      QStringLiteral("at %1 x %2 pixels it is larger than the %3 megapixels a picture may have")
                          .arg(width)
                          .arg(height)
                          .arg(MostPicturePixels / 1000000));
}
