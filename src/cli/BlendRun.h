#pragma once

#include "cli/BlendArguments.h"

class PictureLoader;

// One blend from the command line, through the same loading, composition and writer as the
// window's start button. Throws Failure with a description that names the file concerned.
void RunBlend(PictureLoader& loader, const BlendArguments& arguments);
