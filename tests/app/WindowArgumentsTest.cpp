#include "app/WindowArguments.h"

#include <gtest/gtest.h>

namespace {

struct WindowCase {
    const char* name;
    QStringList arguments;
    QStringList pictures;
    const char* error;
};

class WindowArgumentsTest : public ::testing::TestWithParam<WindowCase> {};

// Relative paths are taken from the folder the program was started in, as a user who types
// "vantelle a.jpg" in a terminal means them.
TEST_P(WindowArgumentsTest, TakesThePicturesMadeAbsolute)
{
    const ParsedWindowCommand command = ParseWindowArguments(GetParam().arguments, QStringLiteral("/home/ann/Work"));
    EXPECT_EQ(command.pictures, GetParam().pictures);
    EXPECT_EQ(command.error.toStdString(), GetParam().error);
    EXPECT_FALSE(command.help);
    EXPECT_FALSE(command.version);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, WindowArgumentsTest,
    ::testing::Values(
        WindowCase{"None", {}, {}, ""},
        WindowCase{"OneAbsolute", {"/srv/photos/coast at dusk.jpg"}, {"/srv/photos/coast at dusk.jpg"}, ""},
        WindowCase{"TwoRelative", {"a.jpg", "trip/b.v2.jpeg"}, {"/home/ann/Work/a.jpg", "/home/ann/Work/trip/b.v2.jpeg"}, ""},
        WindowCase{"UpwardsAndDotted", {"../c.png", "./d.gif"}, {"/home/ann/Work/../c.png", "/home/ann/Work/./d.gif"}, ""},
        WindowCase{"ANameThatLooksLikeAnOption", {"--", "-e.jpg"}, {"/home/ann/Work/-e.jpg"}, ""},
        WindowCase{"AnEmptyNameStaysEmpty", {"", "b.jpg"}, {"", "/home/ann/Work/b.jpg"}, ""},
        // The window takes the first two and says which were left out.
        WindowCase{"ThreePictures", {"a.jpg", "b.jpg", "/c.jpg"}, {"/home/ann/Work/a.jpg", "/home/ann/Work/b.jpg", "/c.jpg"}, ""},
        WindowCase{"AnOptionOfTheBlend", {"--side", "top", "a.jpg"}, {}, "unknown option --side"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WindowArguments, AnswersHelpAndTheVersionWhateverElseIsGiven)
{
    EXPECT_TRUE(ParseWindowArguments({"a", "b", "c", "--help"}, QString()).help);
    EXPECT_TRUE(ParseWindowArguments({"--bogus", "--version"}, QString()).version);
    EXPECT_TRUE(WindowUsage().startsWith("Usage: vantelle [PICTURE1 [PICTURE2]]\n"));
}

} // namespace
