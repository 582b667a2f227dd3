#pragma once

#include "cli/BlendArguments.h"

class Platform;

// One blend from the command line, through the same loading, composition and writer as the
// window's start button. Throws Failure with a description that names the file concerned.
void RunBlend(Platform& platform, const BlendArguments& arguments);
