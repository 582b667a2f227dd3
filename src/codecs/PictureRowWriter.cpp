#include "codecs/PictureRowWriter.h"

QSize SizeToWrite(const Picture& picture)
{
    return picture.isNull() ? QSize(0, 0) : QSize(picture.width, picture.height);
}

void WritePictureRows(PictureRowWriter& writer, const Picture& picture, const StopFlag* stop)
{
    for (int y = 0; y < picture.height; ++y) {
        ThrowIfStopped(stop);
        writer.writeRow(picture.row(y));
    }
    writer.finish();
}
