#include "cli/BlendRun.h"

#include "engine/PairComposition.h"
#include "job/BlendPictures.h"
#include "job/ResultWriter.h"
#include "engine/Blit.h"
#include "core/Failure.h"

#include <QDir>

namespace {

[[noreturn]] void failWriting(const QString& output, int number, const QString& cause)
{
    throw Failure(number, QStringLiteral("Cannot write %1: %2").arg(QDir::toNativeSeparators(output), cause).toStdString());
}

} // namespace

void RunBlend(PictureLoader& loader, const BlendArguments& arguments)
{
    using Side = BlendArguments::Side;
    // Before any picture is decoded: a name no writer takes would waste the whole job.
    if (ResultFormatOf(arguments.output) == ResultFormat::Invalid)
        failWriting(arguments.output, FailureNumber::InvalidCall, QStringLiteral("Invalid output file format (use .jpg or .bmp)"));

    const std::optional<BlendChoice> choice =
        ChooseBlend(arguments.side == Side::Left, arguments.side == Side::Right, arguments.side == Side::Top,
                    arguments.side == Side::Bottom);
    const QString& basePath = choice->baseField == 1 ? arguments.picture1 : arguments.picture2;
    const QString& overlayPath = choice->baseField == 1 ? arguments.picture2 : arguments.picture1;
    const BlendPictures pictures = LoadBlendPictures(loader, basePath, overlayPath);
    Picture base = TakePicture(pictures.base);
    Picture overlay = TakePicture(pictures.overlay);

    Canvases canvases;
    LoadedPair loaded;
    ConstantAlphaBlitter blitter;
    ComposePair(canvases, loaded, std::move(base), std::move(overlay), choice->direction, arguments.start, blitter);
    try {
        WriteResult(canvases.picDest.Image(), arguments.output);
    } catch (const Failure& failure) {
        const QString description = QString::fromStdString(failure.description());
        if (description.contains(QDir::toNativeSeparators(arguments.output)))
            throw;
        failWriting(arguments.output, failure.number(), description);
    }
}
