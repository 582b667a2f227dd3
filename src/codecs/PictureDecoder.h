#pragma once

#include "core/Picture.h"
#include "codecs/DecoderBudget.h"
#include "core/StopFlag.h"
#include "engine/PictureFit.h"
#include "engine/Resample.h"
#include "platform/PictureLoader.h"

#include <QByteArray>
#include <QSize>
#include <QString>

// The formats the program reads, told by the file's first bytes ("bmp", "gif", "jpeg",
// "png"); empty when the bytes are none of them, whatever the file is called.
QByteArray SniffPictureFormat(const QByteArray& head);

// Decodes a picture file into 0xffRRGGBB pixels, upright as the camera meant it, with
// transparent pixels flattened onto white, for a canvas of `canvasSize`. JPEGs are decoded at
// the DCT scale that leaves at least 2.5 times the canvas, for the filter to take the last step; a
// side longer than the canvas's arrives reduced to it (see ReducedSize), so the full-size
// picture is never held. The decoders draw on
// `jobMemory`, shared by the pictures of one job, or on a budget of their own when it is null.
// A cover fit keeps the picture's proportions in the reduction (see ReducedSize). A set stop
// flag ends the decoding at the next row by throwing Stopped.
// Safe to call from several threads at once. Throws Failure naming the file and the cause.
Picture DecodePictureFile(const QString& path, QSize canvasSize, DecoderMemory* jobMemory = nullptr,
                          PictureFit fit = PictureFit::Stretch, const StopFlag* stop = nullptr);

// The same decoding with the rows brought to exactly `size` by the fit and handed to `rows`,
// each as soon as it is made, top to bottom: an export streams its pictures this way. A
// picture stored other than top to bottom (rotated by EXIF, a bottom-up BMP) is held, reduced,
// within the job's memory until it is complete. Throws Failure, or Stopped.
void DecodePictureRows(const QString& path, QSize size, PictureFit fit, DecoderMemory& jobMemory, RowSink& rows,
                       const StopFlag* stop);

// The size a picture file shows, its orientation applied, from its header alone. Throws
// Failure naming the file and the cause as the decoding would.
QSize PictureFileSize(const QString& path);

// Pictures decoded from files for a canvas of the given size; the two pictures of a job share
// its decoder memory.
class PictureFileLoader : public PictureLoader {
public:
    explicit PictureFileLoader(QSize canvasSize) : canvasSize_(canvasSize) {}
    Picture LoadPicture(const QString& path) override { return DecodePictureFile(path, canvasSize_, &memory_); }
    Picture LoadPictureUnlessStopped(const QString& path, const StopFlag& stop) override
    {
        return DecodePictureFile(path, canvasSize_, &memory_, PictureFit::Stretch, &stop);
    }

private:
    QSize canvasSize_;
    DecoderMemory memory_;
};
