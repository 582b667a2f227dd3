#include "cli/BlendRun.h"

#include "engine/PairComposition.h"
#include "job/BlendPictures.h"
#include "job/ExportBlend.h"
#include "job/ExportFormat.h"
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

void RunBlend(PictureLoader& loader, const BlendArguments& arguments, const ExportControl& control)
{
    using Side = BlendArguments::Side;
    refuseEmptyNames(arguments);
    const std::optional<BlendChoice> choice =
        ChooseBlend(arguments.side == Side::Left, arguments.side == Side::Right, arguments.side == Side::Top,
                    arguments.side == Side::Bottom);
    if (arguments.size.choice != ExportSize::Choice::Window || arguments.fit != PictureFit::Stretch) {
        ExportBlend({arguments.picture1, arguments.picture2, *choice, arguments.start, arguments.size, arguments.fit,
                     arguments.quality, arguments.output},
                    control);
        return;
    }

    // Before any picture is decoded: an output that no writer takes, or that is one of the
    // pictures, would only be refused after the whole job.
    RefuseExportOutput(arguments.output, arguments.picture1, arguments.picture2);
    const QString& basePath = choice->baseField == 1 ? arguments.picture1 : arguments.picture2;
    const QString& overlayPath = choice->baseField == 1 ? arguments.picture2 : arguments.picture1;
    const BlendPictures pictures = LoadBlendPictures(loader, basePath, overlayPath);
    const Picture result = ComposeWindowBlend(TakePicture(pictures.base), TakePicture(pictures.overlay),
                                              choice->direction, arguments.start);
    WriteExport(result, arguments.output, arguments.quality);
}
