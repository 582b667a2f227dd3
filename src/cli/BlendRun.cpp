#include "cli/BlendRun.h"

#include "engine/PairComposition.h"
#include "job/BlendPictures.h"
#include "job/ResultWriter.h"
#include "engine/Blit.h"
#include "core/Failure.h"

#include <string>
#include <utility>

namespace {

// An empty argument names no file; said as it is, it would show as nothing after a colon.
void refuseEmptyNames(const BlendArguments& arguments)
{
    const std::pair<const QString&, const char*> pictures[] = {{arguments.picture1, "PICTURE1"},
                                                               {arguments.picture2, "PICTURE2"}};
    for (const auto& [picture, argument] : pictures) {
        if (picture.isEmpty())
            throw Failure(FailureNumber::FileNotFound,
                          std::string("File not found: no picture was named (") + argument + " is empty)", {},
                          "no picture was named");
    }
    if (arguments.output.isEmpty())
        throw Failure(FailureNumber::BadFileName, "Cannot write: no output file was named (OUTPUT is empty)", {},
                      "no output file was named");
}

} // namespace

void RunBlend(PictureLoader& loader, const BlendArguments& arguments)
{
    using Side = BlendArguments::Side;
    refuseEmptyNames(arguments);
    // Before any picture is decoded: an output that no writer takes, or that is one of the
    // pictures, would only be refused after the whole job.
    if (ResultFormatOf(arguments.output) == ResultFormat::Invalid)
        FailWriting(arguments.output, FailureNumber::InvalidCall, QStringLiteral("Invalid output file format (use .jpg or .bmp)"));
    RefuseWritingOverAPicture(arguments.output, {arguments.picture1, arguments.picture2});

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
        // The writers word their descriptions for the window's report; the line names the
        // file and the cause.
        if (failure.cause().empty())
            throw;
        FailWriting(QString::fromStdString(failure.path()), failure.number(), QString::fromStdString(failure.cause()));
    }
}
