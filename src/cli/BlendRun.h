#pragma once

#include "cli/BlendArguments.h"
#include "job/ExportBlend.h"

class PictureLoader;

// One blend from the command line. At the window's size with the stretch fit, through the same
// loading, composition and writers as the window's start button; at any other size or with the
// cover fit, as the window's export. Throws Failure with a description that names the file
// concerned.
// `control` follows and may stop an export; the window's size with the stretch fit takes well
// under a second and is not followed.
void RunBlend(PictureLoader& loader, const BlendArguments& arguments, const ExportControl& control = {});
