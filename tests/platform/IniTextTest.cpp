#include "platform/IniText.h"

#include <gtest/gtest.h>

TEST(IniText, OnlyUtf8LinesOfSettingsAreClean)
{
    const std::pair<QByteArray, bool> cases[] = {
        {"", true},
        {"[Vantelle]\nOption=3\nText4=/Bilder/фото/\n", true},
        {"\xef\xbb\xbf[Vantelle]\r\nOption=3\r\n", true},
        {"; a comment\n# another\n\n  [General]  \n  key = value with = inside\n", true},
        {"[Vantelle]\nText4=C:\\\\Photos\\\\\nImage%201=\"quoted, with a comma\"\n", true},
        {"These are my notes,\nnot settings at all.\n[Vantelle]\nOption=3\n", false},
        {"[Vantelle\nOption=3\n", false},
        {"[Vantelle]\n=no key\n", false},
        {"[Vantelle]\nText4=/caf\xe9/\n", false},
        {"[Vantelle]\nOption=3\x1b\n", false},
        {QByteArray("[Vantelle]\nOption=3\0\n", 21), false},
    };
    for (const auto& [text, clean] : cases)
        EXPECT_EQ(IsCleanIniText(text), clean) << text.toStdString();
}
