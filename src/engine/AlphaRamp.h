#pragma once

#include "engine/Blit.h"

#include <cstdint>
#include <variant>

// An opacity as the caller holds it: a floating-point strip opacity or the whole number 255.
using Opacity = std::variant<double, int>;

// Packs an opacity into the blit's blend value (opacity x 65536). An opacity above 255 is
// lowered to the whole number 255 in the caller's variable; the rest is rounded half-even,
// and a value outside 0..255 is an overflow failure.
std::uint32_t MakeBlendFunction(Opacity& opacity);

// Lays `src` over `dst` in a band from bandStart to bandEnd: up to 256 overlapping strips of
// rising opacity, one unit apart, then the rest beyond the band at full opacity.
// Direction 0 runs the band left to right (strips are columns), 1 top to bottom (rows);
// any other direction, or a band that does not end after its start, draws nothing.
void AlphaRamp(Blitter& blitter, const Surface& dst, double dstWidth, double dstHeight,
               const Surface& src, double srcWidth, double srcHeight,
               double bandStart, double bandEnd, double direction);
