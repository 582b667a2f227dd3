#include "platform/DecodeRequest.h"

#include "platform/PictureDecoder.h"
#include "core/Failure.h"

#include <QFile>

void RefusePicture(const DecodeRequest& request, int number, const QString& cause)
{
    throw Failure(number, QStringLiteral("Cannot load the picture %1: %2").arg(request.shownPath, cause).toStdString());
}

namespace {

constexpr std::size_t StreamBufferBytes = 256 * 1024;

} // namespace

PictureStream::PictureStream(const DecodeRequest& request)
    : buffer_(std::make_unique_for_overwrite<char[]>(StreamBufferBytes)),
      file_(std::fopen(QFile::encodeName(request.path).constData(), "rbe"))
{
    if (!file_)
        RefusePicture(request, FailureNumber::PathFileAccess, QStringLiteral("it cannot be opened"));
    std::setvbuf(file_, buffer_.get(), _IOFBF, StreamBufferBytes);
}

PictureStream::~PictureStream()
{
    std::fclose(file_);
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
