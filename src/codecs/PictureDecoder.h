#pragma once

#include "core/Picture.h"
#include "codecs/DecoderBudget.h"
#include "core/StopFlag.h"
#include "engine/PictureFit.h"
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
