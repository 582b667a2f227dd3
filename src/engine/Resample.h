#pragma once

#include "core/Picture.h"

// Stretches the whole picture onto a w x h target, ignoring its aspect ratio. Reducing
// averages the source pixels under each target pixel (a triangle filter widened to the
// reduction), so fine detail does not alias; enlarging interpolates bilinearly.
void StretchPicture(const Picture& source, const Surface& target);
