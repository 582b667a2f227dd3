#include "inputs/FormWithFakePlatform.h"
#include "core/Failure.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

namespace {

class OutputLocationTest : public FormWithFakePlatform {};

TEST_F(OutputLocationTest, SaveOptionsWriteBothKeysAndSwitchTheFolderControls)
{
    form->show();
    form->Text4->setText(QStringLiteral("/home/ann/Results/"));

    form->Option6->click();
    EXPECT_EQ(stored(QStringLiteral("Option5")), QStringLiteral("False"));
    EXPECT_EQ(stored(QStringLiteral("Option6")), QStringLiteral("True"));
    EXPECT_FALSE(form->Text4->isEnabled());
    EXPECT_FALSE(form->PushButton5->isEnabled());
    EXPECT_EQ(form->Text4->text(), QStringLiteral("/home/ann/Results/"));

    form->Option5->click();
    EXPECT_EQ(stored(QStringLiteral("Option5")), QStringLiteral("True"));
    EXPECT_EQ(stored(QStringLiteral("Option6")), QStringLiteral("False"));
    EXPECT_TRUE(form->Text4->isEnabled());
    EXPECT_TRUE(form->PushButton5->isEnabled());
    EXPECT_EQ(form->Text4->text(), QStringLiteral("/home/ann/Results/"));
}

TEST_F(OutputLocationTest, FolderBrowserOpensAtTheRootWithItsTitle)
{
    QTest::mouseClick(form->PushButton5, Qt::LeftButton);
    ASSERT_EQ(platform.folderCalls.size(), 1u);
    EXPECT_EQ(platform.folderCalls[0].title, QStringLiteral("Save To This Folder"));
    EXPECT_EQ(platform.folderCalls[0].startFolder, QDir::toNativeSeparators(QDir::rootPath()));
}

TEST_F(OutputLocationTest, FolderBrowserOpensAtTheOutputFolderWhenItExists)
{
    QTemporaryDir results;
    const QString folder = QDir::toNativeSeparators(results.path());
    struct Case {
        QString text4;
        QString start;
    };
    const Case cases[] = {
        {folder + QDir::separator(), folder},
        {folder, folder},
        {folder + QStringLiteral("/Not made yet/"), QDir::toNativeSeparators(QDir::rootPath())},
    };
    for (const Case& c : cases) {
        form->Text4->setText(c.text4);
        QTest::mouseClick(form->PushButton5, Qt::LeftButton);
        ASSERT_FALSE(platform.folderCalls.empty());
        EXPECT_EQ(QDir::cleanPath(platform.folderCalls.back().startFolder), QDir::cleanPath(c.start))
            << c.text4.toStdString();
    }
}

struct FolderCase {
    const char* chosen;
    const char* text4;
};

class ChosenFolderTest : public OutputLocationTest, public ::testing::WithParamInterface<FolderCase> {};

TEST_P(ChosenFolderTest, EndsWithExactlyOneSeparatorWhileTheStoreKeepsItAsReturned)
{
    form->Text4->setText(QStringLiteral("/former/folder/"));
    platform.folderAnswers.push_back(QString::fromUtf8(GetParam().chosen));
    QTest::mouseClick(form->PushButton5, Qt::LeftButton);
    EXPECT_EQ(form->Text4->text(), QString::fromUtf8(GetParam().text4));
    EXPECT_EQ(stored(QStringLiteral("LastFolderDot")), QString::fromUtf8(GetParam().chosen));
    EXPECT_EQ(stored(QStringLiteral("Text4")), QString::fromUtf8(GetParam().text4));
    EXPECT_TRUE(platform.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Folders, ChosenFolderTest,
                         ::testing::Values(FolderCase{"/home/ann/Pictures", "/home/ann/Pictures/"},
                                           FolderCase{"/", "/"},
                                           FolderCase{"/media/ann/Photos 2021.08.31.v2", "/media/ann/Photos 2021.08.31.v2/"},
                                           FolderCase{"/home/ann/Bilder – Ölgemälde", "/home/ann/Bilder – Ölgemälde/"}));

TEST_F(OutputLocationTest, CancelledBrowserChangesNothingAndWritesNothing)
{
    form->Text4->setText(QStringLiteral("/former/folder/"));
    const std::optional<QString> text4Before = stored(QStringLiteral("Text4"));
    QTest::mouseClick(form->PushButton5, Qt::LeftButton);
    EXPECT_EQ(form->Text4->text(), QStringLiteral("/former/folder/"));
    EXPECT_EQ(stored(QStringLiteral("LastFolderDot")), std::nullopt);
    EXPECT_EQ(stored(QStringLiteral("Text4")), text4Before);
    EXPECT_TRUE(platform.messages.empty());
}

// A platform whose folder browser cannot be shown.
class BrokenBrowserPlatform : public FakePlatform {
public:
    QString BrowseForFolder(QWidget*, const QString&, const QString&) override
    {
        throw Failure(FailureNumber::InvalidCall, "The folder browser cannot be shown");
    }
};

TEST_F(OutputLocationTest, BrowserFailureIsReportedAsTheCommandsAndChangesNothing)
{
    BrokenBrowserPlatform broken;
    Form1 window(broken);
    window.Text4->setText(QStringLiteral("/former/folder/"));
    QTest::mouseClick(window.PushButton5, Qt::LeftButton);
    ASSERT_EQ(broken.messages.size(), 1u);
    EXPECT_TRUE(broken.messages[0].text.startsWith(QStringLiteral(
        "The folder browser cannot be shown\r\nin Corvasse2021/08/31.Form1.PushButton5_Click at line 100\r\r")));
    EXPECT_EQ(window.Text4->text(), QStringLiteral("/former/folder/"));
    EXPECT_EQ(stored(QStringLiteral("LastFolderDot")), std::nullopt);
}

} // namespace
