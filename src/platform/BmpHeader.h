#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>

// What a BMP's headers claim: the size, the bits a pixel, the compression and where the pixel
// data starts. Qt's reader does not tell the size of a BMP it will refuse, and it fills pixel
// data that is missing with black; both are told from the headers here.
struct BmpHeader {
    QSize size;
    int bitsPerPixel = 0;
    quint32 compression = 0;
    qint64 dataOffset = 0;
};

// The headers at the start of the file; an invalid size when they are too short to tell.
BmpHeader ReadBmpHeader(const QByteArray& head);

// Why the file cannot hold the pixels its headers claim (empty when it can): uncompressed data
// that stops short or starts past the end of the file, or run-length data too short for the
// picture's size.
QString BmpDataFault(const BmpHeader& header, qint64 fileSize);
