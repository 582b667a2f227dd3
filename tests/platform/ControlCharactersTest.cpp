#include "platform/ControlCharacters.h"

#include <gtest/gtest.h>

TEST(ControlCharacters, ActingCharactersAreWrittenOutAndEverythingElseStays)
{
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("a\x1b[2J\x1b]0;title\x07z.jpg"), QStringLiteral("a\\e[2J\\e]0;title\\az.jpg")},
        {QStringLiteral("line\nbreak\r\ntab\tvt\vff\fbs\b"), QStringLiteral("line\\nbreak\\r\\ntab\\tvt\\vff\\fbs\\b")},
        {QString(QChar(0)) + QStringLiteral("\x01\x1f\x7f"), QStringLiteral("\\x00\\x01\\x1f\\x7f")},
        // C1 controls: U+009B starts an escape sequence on terminals that take it.
        {QStringLiteral("\u0085\u009b31m"), QStringLiteral("\\x85\\x9b31m")},
        {QStringLiteral("gpj.\u202eexe \u2066x\u2069 \u200e\u200f\u061c"),
         QStringLiteral("gpj.\\u202eexe \\u2066x\\u2069 \\u200e\\u200f\\u061c")},
        {QStringLiteral("one\u2028two\u2029"), QStringLiteral("one\\u2028two\\u2029")},
        {QStringLiteral("C:\\Pics\\ü 日本 \u00a0\U0001F600 \u200d.jpg"), QStringLiteral("C:\\Pics\\ü 日本 \u00a0\U0001F600 \u200d.jpg")},
        {QString(), QString()},
    };
    for (const auto& [text, shown] : cases) {
        EXPECT_EQ(EscapeControlCharacters(text).toStdString(), shown.toStdString());
        // Written out once, a text has nothing left to write out.
        EXPECT_EQ(EscapeControlCharacters(shown), shown);
    }
}
