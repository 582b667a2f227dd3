#include "cli/BlendArguments.h"

#include <gtest/gtest.h>

namespace {

using Side = BlendArguments::Side;

TEST(ParseBlendArguments, ReadsSideStartAndTheThreeFilesInAnyOrder)
{
    struct Case {
        QStringList arguments;
        Side side;
        int start;
    };
    const Case cases[] = {
        {{"a.jpg", "b.jpg", "out.jpg"}, Side::Left, 0},
        {{"--side", "right", "a.jpg", "b.jpg", "out.jpg"}, Side::Right, 0},
        {{"a.jpg", "--start", "300", "b.jpg", "--side=bottom", "out.jpg"}, Side::Bottom, 300},
        {{"--start=729", "--side", "top", "a.jpg", "b.jpg", "out.jpg"}, Side::Top, 729},
        {{"--", "a.jpg", "b.jpg", "out.jpg"}, Side::Left, 0},
    };
    for (const Case& c : cases) {
        const ParsedBlendCommand parsed = ParseBlendArguments(c.arguments);
        ASSERT_TRUE(parsed.arguments) << c.arguments.join(' ').toStdString() << ": " << parsed.error.toStdString();
        EXPECT_EQ(parsed.arguments->side, c.side);
        EXPECT_EQ(parsed.arguments->start, c.start);
        EXPECT_EQ(parsed.arguments->picture1, "a.jpg");
        EXPECT_EQ(parsed.arguments->picture2, "b.jpg");
        EXPECT_EQ(parsed.arguments->output, "out.jpg");
    }
}

TEST(ParseBlendArguments, TakesNamesThatLookLikeOptionsAfterTheEndOfOptions)
{
    const ParsedBlendCommand parsed = ParseBlendArguments({"--side", "top", "--", "-a.jpg", "--start", "o.bmp"});
    ASSERT_TRUE(parsed.arguments);
    EXPECT_EQ(parsed.arguments->picture1, "-a.jpg");
    EXPECT_EQ(parsed.arguments->picture2, "--start");
    EXPECT_EQ(parsed.arguments->output, "o.bmp");
}

TEST(ParseBlendArguments, RefusesWhatItCannotRunWithAReason)
{
    struct Case {
        QStringList arguments;
        const char* error;
    };
    const Case cases[] = {
        {{}, "expected PICTURE1 PICTURE2 OUTPUT, got 0 file names"},
        {{"a.jpg", "b.jpg"}, "expected PICTURE1 PICTURE2 OUTPUT, got 2 file names"},
        {{"a", "b", "c", "d"}, "expected PICTURE1 PICTURE2 OUTPUT, got 4 file names"},
        {{"--side", "middle", "a", "b", "c"}, "--side must be left, right, top or bottom, not \"middle\""},
        {{"--start", "730", "a", "b", "c"}, "--start must be a whole number from 0 to 729, not \"730\""},
        {{"--start", "-1", "a", "b", "c"}, "--start must be a whole number from 0 to 729, not \"-1\""},
        {{"--start", "1.5", "a", "b", "c"}, "--start must be a whole number from 0 to 729, not \"1.5\""},
        {{"a", "b", "c", "--start"}, "--start needs a value"},
        {{"--quality", "90", "a", "b", "c"}, "unknown option --quality"},
    };
    for (const Case& c : cases) {
        const ParsedBlendCommand parsed = ParseBlendArguments(c.arguments);
        EXPECT_FALSE(parsed.arguments);
        EXPECT_FALSE(parsed.help);
        EXPECT_EQ(parsed.error.toStdString(), c.error);
    }
}

TEST(ParseBlendArguments, HelpWinsOverEverythingElse)
{
    EXPECT_TRUE(ParseBlendArguments({"--help"}).help);
    EXPECT_TRUE(ParseBlendArguments({"a", "--side", "up", "-h"}).help);
    EXPECT_TRUE(BlendUsage().startsWith("Usage: vantelle-blend [--side left|right|top|bottom] [--start N] PICTURE1 PICTURE2 OUTPUT"));
}

} // namespace
