#include "inputs/FormWithFakePlatform.h"
#include "core/Failure.h"

#include <QTest>

namespace {

class SamplesAndTipsTest : public FormWithFakePlatform {
protected:
    void loadSamples() { QTest::mouseClick(form->PushButton7, Qt::LeftButton); }
};

struct ProgramFolderCase {
    const char* programFolder;
    const char* sample1;
    const char* sample2;
};

class SamplePathsTest : public SamplesAndTipsTest, public ::testing::WithParamInterface<ProgramFolderCase> {};

TEST_P(SamplePathsTest, ReplaceBothFieldsAndAreStored)
{
    platform.programFolder = QString::fromUtf8(GetParam().programFolder);
    form->Text1->setText(QStringLiteral("/pictures/former one.jpg"));
    form->Text2->setText(QStringLiteral("/pictures/former two.jpg"));
    for (int press = 0; press < 2; ++press) {
        loadSamples();
        EXPECT_EQ(form->Text1->text(), QString::fromUtf8(GetParam().sample1));
        EXPECT_EQ(form->Text2->text(), QString::fromUtf8(GetParam().sample2));
    }
    EXPECT_EQ(stored(QStringLiteral("Image 1")), QString::fromUtf8(GetParam().sample1));
    EXPECT_EQ(stored(QStringLiteral("Image 2")), QString::fromUtf8(GetParam().sample2));
    EXPECT_TRUE(platform.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    ProgramFolders, SamplePathsTest,
    ::testing::Values(
        ProgramFolderCase{"/opt/Tools/Blend", "/opt/Tools/Blend/Samples/sample1.jpg", "/opt/Tools/Blend/Samples/sample2.jpg"},
        ProgramFolderCase{"/opt/My Tools/blend.app.v2", "/opt/My Tools/blend.app.v2/Samples/sample1.jpg",
                          "/opt/My Tools/blend.app.v2/Samples/sample2.jpg"},
        // At a root the program folder already ends with the separator; the join keeps both.
        ProgramFolderCase{"/", "//Samples/sample1.jpg", "//Samples/sample2.jpg"},
        // Nothing is looked for: a folder without samples gives the same paths.
        ProgramFolderCase{"/nowhere", "/nowhere/Samples/sample1.jpg", "/nowhere/Samples/sample2.jpg"}));

// A platform that cannot tell where the program lies.
class UnknownProgramFolderPlatform : public FakePlatform {
public:
    QString ProgramFolder() override
    {
        throw Failure(FailureNumber::PathFileAccess, "The program folder is not known");
    }
};

TEST_F(SamplesAndTipsTest, BothFailingStepsAreReportedInTurn)
{
    UnknownProgramFolderPlatform broken;
    Form1 window(broken);
    window.Text1->setText(QStringLiteral("/pictures/former.jpg"));
    QTest::mouseClick(window.PushButton7, Qt::LeftButton);
    ASSERT_EQ(broken.messages.size(), 2u);
    EXPECT_TRUE(broken.messages[0].text.contains(QStringLiteral("Form1.PushButton7_Click at line 100\r")));
    EXPECT_TRUE(broken.messages[1].text.contains(QStringLiteral("Form1.PushButton7_Click at line 102\r")));
    EXPECT_EQ(window.Text1->text(), QStringLiteral("/pictures/former.jpg"));
}

// The pair installed beside the program can be loaded by the job and fills the canvas.
TEST_F(SamplesAndTipsTest, InstalledSamplesAreCanvasSizedPictures)
{
    loadSamples();
    for (const QString& path : {form->Text1->text(), form->Text2->text()}) {
        const Picture picture = platform.LoadPicture(path);
        EXPECT_EQ(picture.width, 729) << path.toStdString();
        EXPECT_EQ(picture.height, 425) << path.toStdString();
    }
}

TEST_F(SamplesAndTipsTest, TipShowsFiveLinesWithTheApplicationTitleAndNoIcon)
{
    QTest::mouseClick(form->PushButton4, Qt::LeftButton);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text,
              QStringLiteral("To prevent images from being cropped:\r\r"
                             "1. All images must be the same pixel dimension (height and width)\r\r"
                             "2. The first image must be larger than the second image."));
    EXPECT_EQ(platform.messages[0].style, MsgBoxStyle::OkOnly);
    EXPECT_EQ(platform.messages[0].title, QString());
}

} // namespace
