#include "StoreFixture.h"

#include "app/Settings.h"

#include <QDir>

namespace {

class SettingsStoreTest : public StoreFixture {};

TEST_F(SettingsStoreTest, AbsentKeyGivesTheDefaultAndStoredEmptyTextStaysEmpty)
{
    EXPECT_EQ(ReadSetting(platform, SettingKeys::OutputFolder, QStringLiteral("/desk/")), QStringLiteral("/desk/"));
    WriteSetting(platform, SettingKeys::OutputFolder, QString());
    EXPECT_EQ(ReadSetting(platform, SettingKeys::OutputFolder, QStringLiteral("/desk/")), QString());
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(SettingsStoreTest, TextsComeBackExactlyAsWritten)
{
    const QString texts[] = {
        QStringLiteral("C:\\Photos\\a,b;c=d.jpg"),
        QStringLiteral("@Variant(not one)"),
        QStringLiteral("  blanks around  "),
        QStringLiteral("\"quoted\" and \\ back"),
        QStringLiteral("Ünïcødé/照片/фото.jpg"),
        QStringLiteral("line\rbreak"),
    };
    for (const QString& text : texts) {
        WriteSetting(platform, SettingKeys::Image1, text);
        EXPECT_EQ(ReadSetting(platform, SettingKeys::Image1, QStringLiteral("absent")), text);
    }
}

TEST_F(SettingsStoreTest, EachWriteIsOnDiskWhenItReturns)
{
    WriteSetting(platform, SettingKeys::Side, QStringLiteral("3"));
    EXPECT_TRUE(settingsFileContents().contains("[Vantelle]\nOption=3\n")) << settingsFileContents().constData();
}

TEST_F(SettingsStoreTest, AWriteKeepsEveryOtherKeyAlsoThoseWrittenByAnotherProgram)
{
    WriteSetting(platform, SettingKeys::Image1, QStringLiteral("/a.jpg"));
    {
        QSettings other(settingsFile(), QSettings::IniFormat);
        other.setValue(QStringLiteral("Vantelle/Image 2"), QStringLiteral("/b.jpg"));
        other.setValue(QStringLiteral("Elsewhere/Key"), QStringLiteral("kept"));
    }
    WriteSetting(platform, SettingKeys::OutputFolder, QStringLiteral("/out/"));

    EXPECT_EQ(stored(QStringLiteral("Image 1")), QStringLiteral("/a.jpg"));
    EXPECT_EQ(stored(QStringLiteral("Image 2")), QStringLiteral("/b.jpg"));
    EXPECT_EQ(stored(QStringLiteral("Text4")), QStringLiteral("/out/"));
    EXPECT_TRUE(settingsFileContents().contains("[Elsewhere]\nKey=kept\n"));
}

TEST_F(SettingsStoreTest, ValueThatCannotBeReadCountsAsAbsent)
{
    writeSettingsFile("[Vantelle]\nText4=@Rect(1 2 3 4)\nOption=@Invalid()\nImage%201=@ByteArray(/a.jpg)\n");
    EXPECT_EQ(ReadSetting(platform, SettingKeys::OutputFolder, QStringLiteral("default")), QStringLiteral("default"));
    EXPECT_EQ(ReadSetting(platform, SettingKeys::Side, QStringLiteral("1")), QStringLiteral("1"));
    EXPECT_EQ(ReadSetting(platform, SettingKeys::Image1, QString()), QStringLiteral("/a.jpg"));
}

TEST_F(SettingsStoreTest, DamagedFileIsReadAsFarAsItCanBeAndKeptAsACopyBeforeAWrite)
{
    const QByteArray damaged = "[Vantelle]\nText4=/kept/\n\x01\x02 not a setting \xff\nOption=3\n[Broken\n";
    writeSettingsFile(damaged);

    EXPECT_EQ(ReadSetting(platform, SettingKeys::OutputFolder, QStringLiteral("default")), QStringLiteral("/kept/"));
    EXPECT_EQ(ReadSetting(platform, SettingKeys::Side, QStringLiteral("1")), QStringLiteral("3"));
    WriteSetting(platform, SettingKeys::Image1, QStringLiteral("/a.jpg"));

    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_TRUE(platform.messages[0].text.contains(QStringLiteral("is damaged")));
    EXPECT_TRUE(platform.messages[0].text.contains(QDir::toNativeSeparators(settingsFile())));
    EXPECT_EQ(platform.messages[0].style, MsgBoxStyle::Exclamation);
    QFile copy(settingsFile() + QStringLiteral(".damaged"));
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), damaged);
    EXPECT_EQ(stored(QStringLiteral("Text4")), QStringLiteral("/kept/"));
    EXPECT_EQ(stored(QStringLiteral("Option")), QStringLiteral("3"));
    EXPECT_EQ(stored(QStringLiteral("Image 1")), QStringLiteral("/a.jpg"));
}

// A folder where the file should be cannot be read or replaced, even by an administrator.
TEST_F(SettingsStoreTest, UnreadableFileCountsAsEmptyIsToldOnceAndIsLeftAlone)
{
    ASSERT_TRUE(QDir().mkpath(settingsFile() + QStringLiteral("/inside")));

    EXPECT_EQ(ReadSetting(platform, SettingKeys::Side, QStringLiteral("1")), QStringLiteral("1"));
    EXPECT_EQ(ReadSetting(platform, SettingKeys::OutputFolder, QStringLiteral("/d/")), QStringLiteral("/d/"));
    WriteSetting(platform, SettingKeys::Side, QStringLiteral("2"));
    WriteSetting(platform, SettingKeys::OutputFolder, QStringLiteral("/x/"));

    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_TRUE(platform.messages[0].text.contains(QStringLiteral("cannot be read")));
    EXPECT_TRUE(QFileInfo(settingsFile() + QStringLiteral("/inside")).isDir());
}

TEST_F(SettingsStoreTest, FailedWriteIsToldOnceUntilAWriteSucceedsAgain)
{
    WriteSetting(platform, SettingKeys::Side, QStringLiteral("1"));
    ASSERT_TRUE(QFile::remove(settingsFile()));
    ASSERT_TRUE(QDir().mkpath(settingsFile()));

    WriteSetting(platform, SettingKeys::Image1, QStringLiteral("/a"));
    WriteSetting(platform, SettingKeys::Image1, QStringLiteral("/ab"));
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_TRUE(platform.messages[0].text.contains(QStringLiteral("could not be saved")));

    ASSERT_TRUE(QDir(settingsFile()).removeRecursively());
    WriteSetting(platform, SettingKeys::Image1, QStringLiteral("/abc"));
    EXPECT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(stored(QStringLiteral("Image 1")), QStringLiteral("/abc"));

    ASSERT_TRUE(QFile::remove(settingsFile()));
    ASSERT_TRUE(QDir().mkpath(settingsFile()));
    WriteSetting(platform, SettingKeys::Image1, QStringLiteral("/abcd"));
    EXPECT_EQ(platform.messages.size(), 2u);
}

} // namespace
