#pragma once

#include "core/Surface.h"

#include <cstdint>
#include <vector>

// The rectangles and blend value of one blit between the same two surfaces.
struct BlitCall {
    int dx, dy, dw, dh;
    int sx, sy, sw, sh;
    std::uint32_t blendValue;
};

// The constant-opacity blit. The blend value packs the opacity into bits 16-23
// (opacity x 65536); the other bytes are zero.
//
// Per channel: dst = src * a/255 + dst * (1 - a/255), rounded to nearest.
// A rectangle with a width or height of 0 or less, or a source rectangle that does not lie
// entirely inside the source, draws nothing and returns false. The destination rectangle is
// clipped to the destination; a source rectangle of another size is scaled onto it.
class Blitter {
public:
    virtual ~Blitter() = default;
    virtual bool AlphaBlend(const Surface& dst, int dx, int dy, int dw, int dh,
                            const Surface& src, int sx, int sy, int sw, int sh,
                            std::uint32_t blendValue) = 0;

    // Runs the calls in order, with the same result as calling each in turn. The source
    // must not be the destination.
    virtual void AlphaBlendAll(const Surface& dst, const Surface& src,
                               const std::vector<BlitCall>& calls)
    {
        for (const BlitCall& c : calls)
            AlphaBlend(dst, c.dx, c.dy, c.dw, c.dh, src, c.sx, c.sy, c.sw, c.sh, c.blendValue);
    }
};

// The blit used by the program: plain integer arithmetic, one call per rectangle.
class ConstantAlphaBlitter : public Blitter {
public:
    bool AlphaBlend(const Surface& dst, int dx, int dy, int dw, int dh,
                    const Surface& src, int sx, int sy, int sw, int sh,
                    std::uint32_t blendValue) override;
    // Row by row: every call's part of a row is done while the row is in the cache, in
    // the calls' order, so each pixel sees the same blends in the same order.
    void AlphaBlendAll(const Surface& dst, const Surface& src,
                       const std::vector<BlitCall>& calls) override;
};
