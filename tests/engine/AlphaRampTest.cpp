#include "engine/AlphaRamp.h"
#include "fakes/RecordingBlitter.h"
#include "core/Failure.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr double W = 729, H = 425;

std::vector<BlitCall> rampCalls(double bandStart, double bandEnd, double direction)
{
    RecordingBlitter blitter;
    const Surface none;
    AlphaRamp(blitter, none, W, H, none, W, H, bandStart, bandEnd, direction);
    return blitter.calls;
}

int opacityOf(const BlitCall& call) { return static_cast<int>(call.blendValue / 65536); }

// A call draws when its source rectangle lies inside the 729 x 425 source.
bool draws(const BlitCall& c)
{
    return c.dw > 0 && c.dh > 0 && c.sw > 0 && c.sh > 0 && c.sx >= 0 && c.sy >= 0
           && c.sx + c.sw <= W && c.sy + c.sh <= H;
}

struct Strip {
    int position;
    int opacity;
};

struct RampCase {
    const char* name;
    double bandStart;
    double direction;
    int strips;                   // calls before the rest
    std::vector<Strip> first;     // the first strips, in order
    std::vector<Strip> last;      // the last strips, in order
    Strip lastDrawn;              // the last strip whose source lies inside the canvas (-1: none)
    BlitCall rest;
};

class RampCases : public ::testing::TestWithParam<RampCase> {};

TEST_P(RampCases, StripsAndRestAreTheDesignedCalls)
{
    const RampCase& c = GetParam();
    const std::vector<BlitCall> calls = rampCalls(c.bandStart, 729, c.direction);
    ASSERT_EQ(static_cast<int>(calls.size()), c.strips + 1);
    const bool horizontal = c.direction == 0;
    const auto position = [&](const BlitCall& call) { return horizontal ? call.dx : call.dy; };

    for (std::size_t k = 0; k < c.first.size(); ++k) {
        EXPECT_EQ(position(calls[k]), c.first[k].position) << "strip " << k;
        EXPECT_EQ(opacityOf(calls[k]), c.first[k].opacity) << "strip " << k;
    }
    for (std::size_t k = 0; k < c.last.size(); ++k) {
        const BlitCall& call = calls[calls.size() - 1 - c.last.size() + k];
        EXPECT_EQ(position(call), c.last[k].position);
        EXPECT_EQ(opacityOf(call), c.last[k].opacity);
    }

    for (int k = 0; k < c.strips; ++k) {
        const BlitCall& s = calls[static_cast<std::size_t>(k)];
        // Source and destination always share position and, with equal canvases, size.
        EXPECT_EQ(s.dx, s.sx);
        EXPECT_EQ(s.dy, s.sy);
        EXPECT_EQ(s.dw, s.sw);
        EXPECT_EQ(s.dh, s.sh);
        if (horizontal) {
            EXPECT_EQ(s.dy, 0);
            EXPECT_EQ(s.dw, 3);
            EXPECT_EQ(s.dh, 425);
        } else {
            EXPECT_EQ(s.dx, 0);
            EXPECT_EQ(s.dw, 729);
            EXPECT_EQ(s.dh, 3);
        }
        // One unit further along per strip, the opacity never falling.
        if (k > 0) {
            EXPECT_EQ(position(s), position(calls[static_cast<std::size_t>(k - 1)]) + 1);
            EXPECT_GE(opacityOf(s), opacityOf(calls[static_cast<std::size_t>(k - 1)]));
        }
    }

    const BlitCall* lastDrawn = nullptr;
    for (int k = 0; k < c.strips; ++k)
        if (draws(calls[static_cast<std::size_t>(k)]))
            lastDrawn = &calls[static_cast<std::size_t>(k)];
    if (c.lastDrawn.position < 0) {
        EXPECT_EQ(lastDrawn, nullptr);
    } else {
        ASSERT_NE(lastDrawn, nullptr);
        EXPECT_EQ(position(*lastDrawn), c.lastDrawn.position);
        EXPECT_EQ(opacityOf(*lastDrawn), c.lastDrawn.opacity);
    }

    const BlitCall& rest = calls.back();
    const BlitCall& r = c.rest;
    EXPECT_EQ(std::vector<int>({rest.dx, rest.dy, rest.dw, rest.dh, rest.sx, rest.sy, rest.sw, rest.sh}),
              std::vector<int>({r.dx, r.dy, r.dw, r.dh, r.sx, r.sy, r.sw, r.sh}));
    EXPECT_EQ(rest.blendValue, 255u * 65536u);
}

INSTANTIATE_TEST_SUITE_P(
    AlphaRamp, RampCases,
    ::testing::Values(
        RampCase{"WholeWidth", 0, 0, 727, {{3, 0}, {4, 0}, {5, 1}}, {{727, 254}, {728, 255}, {729, 255}},
                 {726, 254}, {729, 0, 0, 425, 729, 0, 0, 425, 0}},
        RampCase{"From100", 100, 0, 627, {{102, 0}, {103, 0}, {104, 1}}, {{727, 254}, {728, 255}}, {726, 254},
                 {729, 0, 0, 425, 729, 0, 0, 425, 0}},
        RampCase{"StepOfOne", 473, 0, 256, {{474, 0}, {475, 1}, {476, 2}}, {{728, 254}, {729, 255}},
                 {726, 252}, {729, 0, 0, 425, 729, 0, 0, 425, 0}},
        RampCase{"OneStrip", 728, 0, 1, {{728, 0}}, {{728, 0}}, {-1, 0}, {729, 0, 0, 425, 729, 0, 0, 425, 0}},
        RampCase{"Vertical", 0, 1, 727, {{3, 0}, {4, 0}, {5, 1}}, {{729, 255}}, {422, 147},
                 {0, 729, 729, -304, 0, 729, 729, -304, 0}}),
    [](const ::testing::TestParamInfo<RampCase>& info) { return std::string(info.param.name); });

// A band of 256 units on a wider canvas: exactly one opacity step per unit, and the rest
// covers everything after the band at full opacity.
TEST(AlphaRamp, BandOf256StepsOnceAUnitAndTheRestCoversTheOtherSide)
{
    const std::vector<BlitCall> calls = rampCalls(0, 256, 0);
    ASSERT_EQ(calls.size(), 257u);
    for (int k = 0; k < 256; ++k) {
        EXPECT_EQ(calls[static_cast<std::size_t>(k)].dx, k + 1);
        EXPECT_EQ(opacityOf(calls[static_cast<std::size_t>(k)]), k);
    }
    const BlitCall& rest = calls.back();
    EXPECT_EQ(rest.dx, 256);
    EXPECT_EQ(rest.dw, 473);
    EXPECT_EQ(rest.sw, 473);
    EXPECT_EQ(opacityOf(rest), 255);
}

TEST(AlphaRamp, DrawsNothingForAnEmptyBandOrAnUnknownDirection)
{
    EXPECT_TRUE(rampCalls(729, 729, 0).empty());
    EXPECT_TRUE(rampCalls(800, 729, 0).empty());
    EXPECT_TRUE(rampCalls(0, 729, 0.5).empty());
    EXPECT_TRUE(rampCalls(0, 729, 2).empty());
    EXPECT_TRUE(rampCalls(0, 729, -1).empty());
}

TEST(AlphaRamp, OverflowFailsAfterDrawingTheStripsBeforeIt)
{
    RecordingBlitter blitter;
    const Surface none;
    // The rest's width overflows a 32-bit whole number.
    EXPECT_THROW(AlphaRamp(blitter, none, 3e9, H, none, W, H, 0, 729, 0), Failure);
    EXPECT_EQ(blitter.calls.size(), 727u) << "the strips before the rest are drawn";

    // A strip position that overflows fails before any strip is drawn.
    blitter.calls.clear();
    EXPECT_THROW(AlphaRamp(blitter, none, W, H, none, W, H, -1e12, 729, 0), Failure);
    EXPECT_TRUE(blitter.calls.empty());
}

TEST(MakeBlendFunction, RoundsTiesToEvenAndPacksIntoTheThirdByte)
{
    struct Case {
        Opacity in;
        std::uint32_t packed;
    } cases[] = {
        {0.5, 0}, {1.5, 2u << 16}, {2.5, 2u << 16}, {254.4, 254u << 16}, {0.0, 0}, {255, 16711680u},
    };
    for (Case& c : cases) {
        Opacity value = c.in;
        EXPECT_EQ(MakeBlendFunction(value), c.packed);
    }
}

TEST(MakeBlendFunction, LowersAnOpacityAbove255InTheCallersVariable)
{
    Opacity value = 300.7;
    EXPECT_EQ(MakeBlendFunction(value), 16711680u);
    ASSERT_TRUE(std::holds_alternative<int>(value));
    EXPECT_EQ(std::get<int>(value), 255);
}

TEST(MakeBlendFunction, NegativeOrInvalidOpacitiesOverflow)
{
    for (double bad : {-0.6, -1.0, std::numeric_limits<double>::quiet_NaN()}) {
        Opacity value = bad;
        try {
            MakeBlendFunction(value);
            ADD_FAILURE() << bad;
        } catch (const Failure& f) {
            EXPECT_EQ(f.number(), FailureNumber::Overflow);
            EXPECT_EQ(f.description(), "Overflow");
        }
    }
    Opacity tie = -0.5; // rounds to 0
    EXPECT_EQ(MakeBlendFunction(tie), 0u);
}

} // namespace
