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
    if (request_.headerOnly)
        throw HeaderRead{TurnsAQuarter(orientation) ? stored.transposed() : stored};
    streams_ = request_.rows && orientation <= 1;
    if (streams_) {
        bytes_ = workingBytes + ReducedPicture::StreamingBytes(stored, request_.canvas, request_.fit);
    } else {
        bytes_ = workingBytes + ReductionBytes(stored, orientation, request_.canvas, request_.fit);
        if (request_.rows) {
            // The held picture then goes through the fit a row at a time.
            const QSize held = ReducedSize(stored, TurnsAQuarter(orientation), request_.canvas, request_.fit);
            const QSize upright = TurnsAQuarter(orientation) ? held.transposed() : held;
            bytes_ += FittedRowsBytes(upright.width(), upright.height(),
                                      FittedScaleOf(upright.width(), upright.height(), request_.canvas.width(),
                                                    request_.canvas.height(), request_.fit));
        }
    }
    if (!reservation_.take(request_.memory, bytes_))
        RefusePicture(request_, FailureNumber::OutOfMemory,
                      TooMuchMemoryCause(bytes_, request_.memory.limit(), request_.memory.taken()));
    if (streams_)
        picture_.emplace(stored, request_.canvas, request_.fit, *request_.rows);
    else
        picture_.emplace(stored, orientation, request_.canvas, request_.fit);
}

Picture PictureDecoding::finish()
{
    Picture picture = picture_->finish();
    if (!request_.rows || streams_)
        return picture;
    HandFittedRows(picture, request_.canvas.width(), request_.canvas.height(), request_.fit, *request_.rows, request_.stop);
    return Picture();
}
