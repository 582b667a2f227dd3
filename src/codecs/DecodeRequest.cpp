#include "codecs/DecodeRequest.h"

#include "core/Failure.h"
#include "platform/FileSystem.h"

void RefusePicture(const DecodeRequest& request, int number, const QString& cause)
{
    throw PictureLoadFailure(number, request.path, cause);
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

void PictureDecoding::start(QSize stored, int orientation, std::size_t workingBytes)
{
    bytes_ = workingBytes + ReductionBytes(stored, orientation, request_.canvas, request_.fit);
    if (!reservation_.take(request_.memory, bytes_))
        RefusePicture(request_, FailureNumber::OutOfMemory, TooMuchMemoryCause(bytes_, request_.memory.limit()));
    picture_.emplace(stored, orientation, request_.canvas, request_.fit);
}
