#include "StoreFixture.h"

#include "app/Settings.h"
#include "job/FileFaults.h"
#include "platform/FileSystem.h"
#include "platform/IniText.h"
#include "platform/SpecialFiles.h"

#include <QDir>

#include <optional>

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

// Whatever is not clean settings text counts as damaged, is kept in a copy before the first
// write, and gives what can still be read.
TEST_F(SettingsStoreTest, AnythingButCleanSettingsTextIsKeptBeforeItIsRewritten)
{
    QByteArray garbage(4096, '\0');
    for (int i = 0; i < garbage.size(); ++i)
        garbage[i] = static_cast<char>(i * 7 % 256);
    const std::pair<const char*, QByteArray> cases[] = {
        {"binary garbage", garbage},
        {"lines that are not settings", "These are my notes,\nnot settings at all.\n[Vantelle]\nOption=3\n"},
        {"bytes that are not UTF-8", "[Vantelle]\nOption=3\nText4=/caf\xe9/\n"},
        {"a control character", "[Vantelle]\nOption=3\x1b\n"},
    };
    for (const auto& [what, contents] : cases) {
        SCOPED_TRACE(what);
        emptyStore();
        FailingPlatform fresh;
        writeSettingsFile(contents);
        ReadSetting(fresh, SettingKeys::Side, QStringLiteral("1"));
        WriteSetting(fresh, SettingKeys::Image1, QStringLiteral("/a.jpg"));
        WriteSetting(fresh, SettingKeys::Image1, QStringLiteral("/ab.jpg"));

        ASSERT_EQ(fresh.messages.size(), 1u);
        EXPECT_TRUE(fresh.messages[0].text.contains(QStringLiteral("is damaged"))) << fresh.messages[0].text.toStdString();
        EXPECT_TRUE(fresh.messages[0].text.contains(QDir::toNativeSeparators(settingsFile() + QStringLiteral(".damaged"))));
        EXPECT_EQ(ContentOf(settingsFile() + QStringLiteral(".damaged")), contents);
        // Once rewritten, the file is clean: no further copy at the next change.
        EXPECT_EQ(ReadSetting(fresh, SettingKeys::Image1, QString()), QStringLiteral("/ab.jpg"));
        EXPECT_FALSE(QFile::exists(settingsFile() + QStringLiteral(".damaged-2")));
    }
}

// Whatever text a field holds, the file the settings writer makes of it reads as clean: no
// copy, no warning, at the next change either.
TEST_F(SettingsStoreTest, AnyTextOfAFieldKeepsTheFileClean)
{
    QString everything;
    for (char16_t c = 1; c < 0x80; ++c)
        everything += QChar(c);
    everything += QStringLiteral("Ünïcødé 照片 \uFFFD") + QChar(0xd800); // and a lone surrogate
    WriteSetting(platform, SettingKeys::Image1, everything);
    WriteSetting(platform, SettingKeys::Image2, QStringLiteral("[not a section]\n=also not a key"));
    ReadSetting(platform, SettingKeys::Image1, QString());

    EXPECT_TRUE(platform.messages.empty()) << platform.messages[0].text.toStdString();
    EXPECT_TRUE(IsCleanIniText(settingsFileContents())) << settingsFileContents().toStdString();
    EXPECT_FALSE(QFile::exists(settingsFile() + QStringLiteral(".damaged")));
}

// A file far larger than settings can be is not read at all: it is moved aside whole, the
// program starts with its defaults, and the next write starts a new file.
TEST_F(SettingsStoreTest, AnOversizedFileIsMovedAsideWholeAndNotRead)
{
    QByteArray huge = "[Vantelle]\nOption=3\n";
    while (huge.size() <= MostSettingsFileBytes)
        huge += "Line=a line that could be a setting, again and again\n";
    writeSettingsFile(huge);

    EXPECT_EQ(ReadSetting(platform, SettingKeys::Side, QStringLiteral("1")), QStringLiteral("1"));
    ASSERT_EQ(platform.messages.size(), 1u);
    const QString copy = settingsFile() + QStringLiteral(".damaged");
    EXPECT_EQ(platform.messages[0].text.toStdString(),
              QStringLiteral("The settings file %1 is damaged: at 1.0 MiB it is larger than a settings file can be. "
                             "It was moved aside to %2, and the program starts with its default settings.")
                  .arg(QDir::toNativeSeparators(settingsFile()), QDir::toNativeSeparators(copy))
                  .toStdString());
    EXPECT_EQ(ContentOf(copy), huge);

    WriteSetting(platform, SettingKeys::Side, QStringLiteral("2"));
    EXPECT_EQ(settingsFileContents(), QByteArray("[Vantelle]\nOption=2\n"));
    EXPECT_EQ(platform.messages.size(), 1u);
}

// One copy for one damaged file however often it is read before the first write; a copy
// never replaces an earlier one.
TEST_F(SettingsStoreTest, CopiesOfDamagedFilesAreNumberedAndNeverReplaced)
{
    const QString file = settingsFile();
    ASSERT_TRUE(PutFile(file + QStringLiteral(".damaged"), "an earlier copy"));
    writeSettingsFile("first damage\n");
    for (int read = 0; read < 3; ++read)
        ReadSetting(platform, SettingKeys::Side, QStringLiteral("1"));
    WriteSetting(platform, SettingKeys::Side, QStringLiteral("2"));
    writeSettingsFile("second damage\n");
    WriteSetting(platform, SettingKeys::Side, QStringLiteral("3"));

    EXPECT_EQ(ContentOf(file + QStringLiteral(".damaged")), QByteArray("an earlier copy"));
    EXPECT_EQ(ContentOf(file + QStringLiteral(".damaged-2")), QByteArray("first damage\n"));
    EXPECT_EQ(ContentOf(file + QStringLiteral(".damaged-3")), QByteArray("second damage\n"));
    EXPECT_FALSE(QFile::exists(file + QStringLiteral(".damaged-4")));
    EXPECT_EQ(stored(QStringLiteral("Option")), QStringLiteral("3"));
}

#ifdef Q_OS_UNIX
// A pipe or a device where the settings file should be would hold start-up for good or feed
// it without end: it is never opened, counts as a file that cannot be read, is told once,
// and stays as it was.
TEST_F(SettingsStoreTest, APipeOrADeviceInThePlaceOfTheFileIsNeverOpened)
{
    const QString file = settingsFile();
    const std::pair<Thing, const char*> cases[] = {
        {Thing::Pipe, "it is a named pipe (FIFO), not a file"},
        {Thing::Device, "it is a device, not a file"},
        {Thing::Socket, "it is a socket, not a file"},
    };
    for (const auto& [thing, cause] : cases) {
        for (const bool throughLink : {false, true}) {
            SCOPED_TRACE(std::string(ThingName(thing)) + (throughLink ? " through a link" : ""));
            QFile::remove(file);
            QFile::remove(file + QStringLiteral(".target"));
            if (!MakeThingAt(thing, file, throughLink))
                continue; // a device node needs an administrator
            FailingPlatform fresh;
            std::optional<PipeRelease> release;
            if (thing == Thing::Pipe)
                release.emplace(file);

            EXPECT_EQ(ReadSetting(fresh, SettingKeys::OutputFolder, QStringLiteral("/d/")), QStringLiteral("/d/"));
            WriteSetting(fresh, SettingKeys::Side, QStringLiteral("2"));
            WriteSetting(fresh, SettingKeys::Side, QStringLiteral("3"));

            ASSERT_EQ(fresh.messages.size(), 1u);
            EXPECT_EQ(fresh.messages[0].text.toStdString(),
                      QStringLiteral("The settings file %1 cannot be read: %2. The program starts with its default "
                                     "settings and leaves the file as it is.")
                          .arg(QDir::toNativeSeparators(file), QString::fromUtf8(cause))
                          .toStdString());
            EXPECT_EQ(KindOfFile(file).kind, thing == Thing::Pipe ? FileKind::Pipe
                                              : thing == Thing::Device ? FileKind::Device
                                                                       : FileKind::Socket);
            EXPECT_EQ(QFileInfo(file).isSymLink(), throughLink);
        }
    }
    // The fixture looks at the file through the settings object, which would open a pipe.
    QFile::remove(file);
    QFile::remove(file + QStringLiteral(".target"));
}

TEST_F(SettingsStoreTest, AFileThatMayNotBeReadIsLeftAsItIs)
{
    writeSettingsFile("[Vantelle]\nOption=3\n");
    ASSERT_TRUE(QFile::setPermissions(settingsFile(), QFileDevice::WriteOwner));
    const bool bound = !QFile(settingsFile()).open(QIODevice::ReadOnly);
    if (bound) {
        ReadSetting(platform, SettingKeys::Side, QStringLiteral("1"));
        WriteSetting(platform, SettingKeys::Side, QStringLiteral("2"));
    }
    QFile::setPermissions(settingsFile(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (!bound)
        GTEST_SKIP() << "file permissions do not bind the user running the tests";

    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_TRUE(platform.messages[0].text.contains(QStringLiteral("cannot be read: Permission denied")));
    EXPECT_EQ(settingsFileContents(), QByteArray("[Vantelle]\nOption=3\n"));
}
#endif

} // namespace
