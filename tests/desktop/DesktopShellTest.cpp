#include "desktop/DesktopShell.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

namespace {

// The desktop's folders of an account of the test's own: a home folder in which the test
// makes the desktop and Pictures folders or leaves them out.
class DesktopShellFoldersTest : public ::testing::Test {
protected:
    DesktopShellFoldersTest()
    {
        qputenv("HOME", home.path().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral(".config")).toLocal8Bit());
    }
    ~DesktopShellFoldersTest() override
    {
        restore("HOME", formerHome_);
        restore("XDG_CONFIG_HOME", formerConfig_);
    }

    QTemporaryDir home;

private:
    static std::optional<QByteArray> variable(const char* name)
    {
        return qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt;
    }
    static void restore(const char* name, const std::optional<QByteArray>& value)
    {
        if (value)
            qputenv(name, *value);
        else
            qunsetenv(name);
    }

    const std::optional<QByteArray> formerHome_ = variable("HOME");
    const std::optional<QByteArray> formerConfig_ = variable("XDG_CONFIG_HOME");
};

// A first start on an account without a desktop folder sends the result to a folder that exists.
TEST_F(DesktopShellFoldersTest, OutputGoesToTheDesktopElsePicturesElseHome)
{
    struct Case {
        QStringList made;
        const char* desktop; // under home
        const char* pictures;
    };
    const Case cases[] = {
        {{"Desktop", "Pictures"}, "Desktop", "Pictures"},
        {{"Pictures"}, "Pictures", "Pictures"},
        {{}, "", ""},
    };
    DesktopShell shell;
    for (const Case& c : cases) {
        for (const char* folder : {"Desktop", "Pictures"})
            QDir(home.filePath(QString::fromLatin1(folder))).removeRecursively();
        for (const QString& folder : c.made)
            ASSERT_TRUE(QDir(home.path()).mkdir(folder));
        const auto expected = [&](const char* folder) {
            return QDir::toNativeSeparators(*folder ? home.filePath(QString::fromLatin1(folder)) : home.path());
        };
        EXPECT_EQ(shell.DesktopFolder(), expected(c.desktop)) << c.made.join(' ').toStdString();
        EXPECT_EQ(shell.PicturesFolder(), expected(c.pictures)) << c.made.join(' ').toStdString();
    }
}

} // namespace
