#include "platform/CommandLine.h"

#include <gtest/gtest.h>

namespace {

struct CommandLineCase {
    const char* name;
    QStringList arguments;
    bool help;
    bool version;
    QStringList names;
    const char* error;
};

class ReadCommandLineTest : public ::testing::TestWithParam<CommandLineCase> {};

TEST_P(ReadCommandLineTest, ReadsNamesOptionsAndRequests)
{
    const CommandLine line = ReadCommandLine(GetParam().arguments, {QStringLiteral("--side")});
    EXPECT_EQ(line.help, GetParam().help);
    EXPECT_EQ(line.version, GetParam().version);
    EXPECT_EQ(line.names, GetParam().names);
    EXPECT_EQ(line.error.toStdString(), GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ReadCommandLineTest,
    ::testing::Values(
        CommandLineCase{"Nothing", {}, false, false, {}, ""},
        CommandLineCase{"Names", {"a.jpg", "b c.jpg"}, false, false, {"a.jpg", "b c.jpg"}, ""},
        CommandLineCase{"VersionWinsOverAnError", {"--bogus", "--version"}, false, true, {}, ""},
        CommandLineCase{"HelpWinsOverTheVersion", {"--version", "-h"}, true, true, {}, ""},
        CommandLineCase{"RequestsAfterTheEndOfOptionsAreNames", {"--", "--version", "-h"}, false, false,
                        {"--version", "-h"}, ""},
        CommandLineCase{"ALoneDashIsAName", {"-", "a.jpg"}, false, false, {"-", "a.jpg"}, ""},
        CommandLineCase{"UnknownOption", {"a.jpg", "--bogus=1"}, false, false, {}, "unknown option --bogus"},
        CommandLineCase{"AShortUnknownOption", {"-x"}, false, false, {}, "unknown option -x"},
        CommandLineCase{"AValueMissing", {"a.jpg", "--side"}, false, false, {}, "--side needs a value"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReadCommandLine, KeepsOptionValuesInTheirOrderApartFromTheNames)
{
    const CommandLine line =
        ReadCommandLine({"--side", "top", "a.jpg", "--side=-left", "b.jpg"}, {QStringLiteral("--side")});
    ASSERT_EQ(line.error, QString());
    EXPECT_EQ(line.names, QStringList({"a.jpg", "b.jpg"}));
    ASSERT_EQ(line.options.size(), 2u);
    EXPECT_EQ(line.options[0], std::make_pair(QStringLiteral("--side"), QStringLiteral("top")));
    EXPECT_EQ(line.options[1], std::make_pair(QStringLiteral("--side"), QStringLiteral("-left")));
}

} // namespace
