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
        {{"--colour", "90", "a", "b", "c"}, "unknown option --colour"},
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

TEST(ParseBlendArguments, ReadsTheSizeTheFitAndTheQualityOfAnExport)
{
    using Choice = ExportSize::Choice;
    struct Case {
        QStringList arguments;
        Choice size;
        QSize given;
        PictureFit fit;
        int quality;
    };
    const Case cases[] = {
        {{"a", "b", "c"}, Choice::Window, {}, PictureFit::Stretch, 100},
        {{"--size", "first", "a", "b", "c"}, Choice::First, {}, PictureFit::Stretch, 100},
        {{"--size=second", "--fit", "cover", "a", "b", "c"}, Choice::Second, {}, PictureFit::Cover, 100},
        {{"--size", "6000x4000", "--quality", "85", "a", "b", "c"}, Choice::Given, QSize(6000, 4000), PictureFit::Stretch, 85},
        {{"--size", "window", "--fit=stretch", "--quality=1", "a", "b", "c"}, Choice::Window, {}, PictureFit::Stretch, 1},
    };
    for (const Case& c : cases) {
        const ParsedBlendCommand parsed = ParseBlendArguments(c.arguments);
        ASSERT_TRUE(parsed.arguments) << c.arguments.join(' ').toStdString() << ": " << parsed.error.toStdString();
        EXPECT_EQ(parsed.arguments->size.choice, c.size);
        EXPECT_EQ(parsed.arguments->size.given, c.given);
        EXPECT_EQ(parsed.arguments->fit, c.fit);
        EXPECT_EQ(parsed.arguments->quality, c.quality);
    }
}

TEST(ParseBlendArguments, RefusesAWrongSizeFitOrQualityWithAReason)
{
    const std::string size = "--size must be WIDTHxHEIGHT (at least 1x1, fewer than 134217728 pixels), first, second or window, not ";
    const std::pair<QStringList, std::string> cases[] = {
        {{"--size", "0x5"}, size + "\"0x5\""},
        {{"--size", "640x"}, size + "\"640x\""},
        {{"--size", "-640x480"}, size + "\"-640x480\""},
        {{"--size", "640 x 480"}, size + "\"640 x 480\""},
        {{"--size", "640X480"}, size + "\"640X480\""},
        {{"--size", "20000x20000"}, size + "\"20000x20000\""},
        {{"--size", "99999999999x1"}, size + "\"99999999999x1\""},
        {{"--size", "full"}, size + "\"full\""},
        {{"--fit", "crop"}, "--fit must be stretch or cover, not \"crop\""},
        {{"--quality", "0"}, "--quality must be a whole number from 1 to 100, not \"0\""},
        {{"--quality", "101"}, "--quality must be a whole number from 1 to 100, not \"101\""},
        {{"--quality", "high"}, "--quality must be a whole number from 1 to 100, not \"high\""},
    };
    for (const auto& [options, error] : cases) {
        const ParsedBlendCommand parsed = ParseBlendArguments(options + QStringList{"a", "b", "c"});
        EXPECT_FALSE(parsed.arguments);
        EXPECT_EQ(parsed.error.toStdString(), error);
    }
}
