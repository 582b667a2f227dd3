#pragma once

#include "engine/PairComposition.h"
#include "engine/PictureFit.h"

#include "core/StopFlag.h"

#include <QSize>
#include <QString>

#include <functional>
#include <optional>

// The size of an export: the window's canvas, the upright size of picture #1 or #2, or a size
// given in pixels.
struct ExportSize {
    enum class Choice { Window, First, Second, Given };
    Choice choice = Choice::Window;
    QSize given;
};

// Whether a given export size is one the decoders' pixel limit allows: at least 1 x 1, fewer
// pixels than a picture may claim.
bool ExportSizeAllowed(QSize size);

// The size as the command line and the settings write it: "window", "first", "second" or
// WIDTHxHEIGHT in digits; nothing for any other text or a size not allowed.
std::optional<ExportSize> ExportSizeFromText(const QString& text);
QString ExportSizeText(const ExportSize& size);

// One export: the window's blend of the pair drawn at a size, in the format of the output's
// name.
struct ExportRequest {
    QString picture1; // Image #1
    QString picture2; // Image #2
    BlendChoice blend{1, 2, 0};
    int bandStart = 0; // in canvas units, 0 to the canvas width
    ExportSize size;
    PictureFit fit = PictureFit::Stretch;
    int quality = 100; // 1 to 100, for JPEG and WebP
    QString output;
};

// Refuses, before anything is decoded, an output whose name gives no format or that is one of
// the pictures. Throws Failure "Cannot write <output>: <cause>".
void RefuseExportOutput(const QString& output, const QString& picture1, const QString& picture2);

// What the caller of a long export sees of it and may do about it. `progress` is called from the
// export's thread with the share done, 0 to 1; a set `stop` ends the export at the next row of a
// decoding or of the composition, throwing Stopped, and nothing is written.
struct ExportControl {
    const StopFlag* stop = nullptr;
    std::function<void(double)> progress;
};

// Draws the blend and writes it. At the window's size with the stretch fit the result is the
// window's own, pixel for pixel; at any other size or with the cover fit the same ramp is drawn
// scaled with the size along its axis, and the decoders reduce each picture no further than
// the export needs. The output is checked before anything is decoded: a format its name does
// not give, a size the format cannot hold or one of the pictures themselves is refused. Both
// pictures and the result are held at the export size, within the decoders' memory of one job.
// Throws Failure naming the file and the cause; nothing is written then.
void ExportBlend(const ExportRequest& request, const ExportControl& control = {});
