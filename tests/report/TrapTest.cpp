#include "report/Trap.h"

#include "fakes/FakePlatform.h"
#include "core/Failure.h"

#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdexcept>
#include <vector>

namespace {

QString reportOf(const QString& description, int line)
{
    return description + QStringLiteral("\r\nin Corvasse2021/08/31.Form1.PushButton7_Click at line ")
           + QString::number(line)
           + QStringLiteral("\r\rPlease email screenshot of this message to support@orlenby.example");
}

class TrapTest : public ::testing::Test {
protected:
    FakePlatform platform;
    Trap trap{platform, nullptr, QStringLiteral("PushButton7_Click")};
    std::vector<int> ran;
};

} // namespace

TEST_F(TrapTest, ReportsAFailingLineInAWarningBoxAndGoesOnWithTheNext)
{
    const bool first = trap.line(100, [&] {
        ran.push_back(100);
        throw Failure(FailureNumber::FileNotFound, "File not found");
        ran.push_back(-1);
    });
    const bool second = trap.line(102, [&] { ran.push_back(102); });

    EXPECT_FALSE(first);
    EXPECT_TRUE(second);
    EXPECT_EQ(ran, (std::vector<int>{100, 102}));
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, reportOf(QStringLiteral("File not found"), 100));
    EXPECT_EQ(platform.messages[0].title, QStringLiteral("Application Error"));
    EXPECT_EQ(platform.messages[0].style, MsgBoxStyle::Exclamation);
}

TEST_F(TrapTest, AFailedTestGoesOnIntoTheThenBranch)
{
    if (trap.test(100, []() -> bool { throw Failure(FailureNumber::InvalidCall, "Broken test"); }))
        ran.push_back(102);
    else
        ran.push_back(104);

    EXPECT_EQ(ran, (std::vector<int>{102}));
    EXPECT_EQ(platform.messageTexts(), QStringList{reportOf(QStringLiteral("Broken test"), 100)});
}

TEST_F(TrapTest, ATestThatHoldsOrNotIsPassedOnQuietly)
{
    EXPECT_TRUE(trap.test(100, [] { return true; }));
    EXPECT_FALSE(trap.test(102, [] { return false; }));
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(TrapTest, SeveralFailuresGiveSeveralReportsInOrder)
{
    trap.line(100, [] { throw Failure(FailureNumber::FileNotFound, "first"); });
    trap.line(102, [] { throw Failure(FailureNumber::FileNotFound, "second"); });

    EXPECT_EQ(platform.messageTexts(),
              (QStringList{reportOf(QStringLiteral("first"), 100), reportOf(QStringLiteral("second"), 102)}));
}

TEST_F(TrapTest, TheNextLineWaitsUntilTheReportIsDismissed)
{
    platform.onMessage = [&](const FakePlatform::Message&) { ran.push_back(0); };
    trap.line(100, [] { throw Failure(FailureNumber::FileNotFound, "gone"); });
    trap.line(102, [&] { ran.push_back(102); });

    EXPECT_EQ(ran, (std::vector<int>{0, 102}));
}

// Whatever a library throws is reported as well, with the best description it carries, and
// the command goes on.
TEST_F(TrapTest, ExceptionsThatAreNotTheProgramsOwnAreReportedToo)
{
    struct Case {
        std::function<void()> step;
        QString description;
    };
    const std::vector<Case> cases = {
        {[] { throw std::runtime_error("disk on fire"); }, QStringLiteral("disk on fire")},
        {[] { throw std::bad_alloc(); }, QStringLiteral("Out of memory")},
        {[] { throw 42; }, QStringLiteral("Unknown failure")},
        {[] { throw Failure(FailureNumber::FileNotFound, ""); }, QString()},
    };
    int line = 100;
    QStringList expected;
    for (const Case& c : cases) {
        EXPECT_FALSE(trap.line(line, c.step));
        expected << reportOf(c.description, line);
        line += 2;
    }
    EXPECT_EQ(platform.messageTexts(), expected);
}
