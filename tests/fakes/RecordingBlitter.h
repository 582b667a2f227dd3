#pragma once

#include "engine/Blit.h"

#include <vector>

// Records every blit call and draws nothing.
class RecordingBlitter : public Blitter {
public:
    std::vector<BlitCall> calls;

    bool AlphaBlend(const Surface&, int dx, int dy, int dw, int dh, const Surface&, int sx, int sy,
                    int sw, int sh, std::uint32_t blendValue) override
    {
        calls.push_back({dx, dy, dw, dh, sx, sy, sw, sh, blendValue});
        return true;
    }
};
