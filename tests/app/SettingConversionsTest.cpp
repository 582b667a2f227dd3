#include "app/Settings.h"
#include "core/Failure.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

constexpr int TypeMismatch = 13;
constexpr int Overflow = 6;

template <typename Convert>
int failureNumber(Convert convert)
{
    try {
        convert();
    } catch (const Failure& failure) {
        return failure.number();
    }
    return 0;
}

TEST(SettingConversionsTest, WholeNumbers)
{
    const struct {
        const char* text;
        int number;
    } cases[] = {
        {"1", 1}, {"3", 3}, {"0", 0}, {"9", 9}, {" 7 ", 7}, {"+4", 4}, {"-2", -2},
        {"2.5", 2}, {"3.5", 4}, {"-2.5", -2}, {"0.5", 0}, {"1.5000001", 2}, {"1e1", 10},
        {"32767", 32767}, {"-32768", -32768}, {"32767.4", 32767}, {"1e-400", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SettingAsWholeNumber(QString::fromLatin1(c.text)), c.number) << c.text;
}

TEST(SettingConversionsTest, WholeNumberFailures)
{
    const struct {
        QString text;
        int failure;
    } cases[] = {
        {QStringLiteral("abc"), TypeMismatch}, {QString(), TypeMismatch},
        {QStringLiteral(" "), TypeMismatch}, {QStringLiteral("1a"), TypeMismatch},
        {QStringLiteral("+-1"), TypeMismatch}, {QStringLiteral("0x10"), TypeMismatch},
        {QStringLiteral("inf"), TypeMismatch}, {QStringLiteral("nan"), TypeMismatch},
        {QStringLiteral("١"), TypeMismatch}, {QStringLiteral("32767.5"), Overflow},
        {QStringLiteral("32768"), Overflow}, {QStringLiteral("-32769"), Overflow},
        {QStringLiteral("1e400"), Overflow},
    };
    for (const auto& c : cases)
        EXPECT_EQ(failureNumber([&] { SettingAsWholeNumber(c.text); }), c.failure) << c.text.toStdString();
}

TEST(SettingConversionsTest, YesNo)
{
    const struct {
        const char* text;
        std::optional<bool> yes;
    } cases[] = {
        {"True", true}, {"False", false}, {"TRUE", true}, {"fAlSe", false}, {"-1", true},
        {"0", false}, {"1", true}, {"0.0", false}, {"2.5", true}, {" 0 ", false},
        {"yes", std::nullopt}, {"", std::nullopt}, {"Truth", std::nullopt}, {" True", std::nullopt},
    };
    for (const auto& c : cases) {
        const QString text = QString::fromLatin1(c.text);
        if (c.yes)
            EXPECT_EQ(SettingAsYesNo(text), *c.yes) << c.text;
        else
            EXPECT_EQ(failureNumber([&] { SettingAsYesNo(text); }), TypeMismatch) << c.text;
    }
}

} // namespace
