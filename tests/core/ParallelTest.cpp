#include "core/Parallel.h"

#include <gtest/gtest.h>

#include <future>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

// What reached the caller, and which pieces of work ran to their end.
struct Outcome {
    std::string thrown; // empty when nothing was thrown
    bool firstEnded = false;
    bool secondEnded = false;
};

Outcome RunFailing(bool firstFails, bool secondFails, Concurrency concurrency)
{
    Outcome outcome;
    try {
        RunBoth(
            [&] {
                outcome.firstEnded = true;
                if (firstFails)
                    throw std::runtime_error("first");
            },
            [&] {
                outcome.secondEnded = true;
                if (secondFails)
                    throw std::runtime_error("second");
            },
            concurrency);
    } catch (const std::runtime_error& e) {
        outcome.thrown = e.what();
    }
    return outcome;
}

class RunBothOn : public ::testing::TestWithParam<Concurrency> {};

// Both pieces of work always run to their end, and the first's failure wins over the
// second's, whether or not the second had a thread of its own.
TEST_P(RunBothOn, RunsBothToTheirEndAndThrowsTheFirstsFailureFirst)
{
    const struct {
        bool firstFails, secondFails;
        const char* thrown;
    } cases[] = {
        {false, false, ""},
        {true, false, "first"},
        {false, true, "second"},
        {true, true, "first"},
    };
    for (const auto& c : cases) {
        const Outcome outcome = RunFailing(c.firstFails, c.secondFails, GetParam());
        EXPECT_EQ(outcome.thrown, c.thrown) << c.firstFails << c.secondFails;
        EXPECT_TRUE(outcome.firstEnded && outcome.secondEnded) << c.firstFails << c.secondFails;
    }
}

INSTANTIATE_TEST_SUITE_P(BothPaths, RunBothOn, ::testing::Values(Concurrency::TwoThreads, Concurrency::OneThread),
                         [](const ::testing::TestParamInfo<Concurrency>& info) {
                             return info.param == Concurrency::TwoThreads ? "TwoThreads" : "OneThread";
                         });

TEST(RunBoth, OnOneThreadRunsTheFirstThenTheSecondOnTheCallingThread)
{
    std::vector<std::string> ran;
    std::vector<std::thread::id> threads;
    RunBoth(
        [&] {
            ran.push_back("first");
            threads.push_back(std::this_thread::get_id());
        },
        [&] {
            ran.push_back("second");
            threads.push_back(std::this_thread::get_id());
        },
        Concurrency::OneThread);
    EXPECT_EQ(ran, (std::vector<std::string>{"first", "second"}));
    EXPECT_EQ(threads, (std::vector<std::thread::id>{std::this_thread::get_id(), std::this_thread::get_id()}));
}

// The first waits until the second is ready to fail, which only a second thread allows: both
// run at once, and the failure of the second, though earlier, still comes after the first's.
TEST(RunBoth, OnTwoThreadsRunsBothAtOnceAndKeepsTheOrderOfFailures)
{
    std::promise<void> secondStarted;
    std::thread::id secondThread;
    try {
        RunBoth(
            [&] {
                secondStarted.get_future().wait();
                throw std::runtime_error("first");
            },
            [&] {
                secondThread = std::this_thread::get_id();
                secondStarted.set_value();
                throw std::runtime_error("second");
            },
            Concurrency::TwoThreads);
        FAIL() << "nothing thrown";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "first");
    }
    EXPECT_NE(secondThread, std::this_thread::get_id());
}

} // namespace
