#pragma once

#include "core/Picture.h"
#include "platform/PictureLoader.h"

#include <QByteArray>
#include <QSize>
#include <QString>

// The most memory one decoded picture may take, at four bytes a pixel: room for a
// 100-megapixel photo, while a file whose header claims absurd dimensions is refused before
// anything is allocated.
inline constexpr int PictureAllocationLimitMiB = 512;
inline constexpr qint64 MostPicturePixels = qint64(PictureAllocationLimitMiB) * 1024 * 1024 / 4;

// The formats the program reads, told by the file's first bytes ("bmp", "gif", "jpeg",
// "png"); empty when the bytes are none of them, whatever the file is called.
QByteArray SniffPictureFormat(const QByteArray& head);

// The size to decode a JPEG of the given stored size at: the largest DCT reduction (1/2, 1/4,
// 1/8) that still leaves the upright picture at least as large as `minimum`, or the stored
// size when none does. `quarterTurned`: the picture's orientation swaps width and height.
QSize ShrinkOnLoadSize(QSize stored, bool quarterTurned, QSize minimum);

// Decodes a picture file into 0xffRRGGBB pixels, upright as the camera meant it, with
// transparent pixels flattened onto white. JPEGs arrive shrunk towards `minimumSize` (never
// below it), other formats as they are. Safe to call from several threads at once. Throws
// Failure naming the file and the cause.
Picture DecodePictureFile(const QString& path, QSize minimumSize);

// Pictures decoded from files for a canvas of the given size.
class PictureFileLoader : public PictureLoader {
public:
    explicit PictureFileLoader(QSize canvasSize) : canvasSize_(canvasSize) {}
    Picture LoadPicture(const QString& path) override { return DecodePictureFile(path, canvasSize_); }

private:
    QSize canvasSize_;
};
