#include "inputs/FormWithFakePlatform.h"
#include "core/Failure.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct AddFileButton {
    const char* procedure;
    QPushButton* Form1::*button;
    QPushButton* Form1::*otherButton;
    QLineEdit* Form1::*field;
    QLineEdit* Form1::*otherField;
    const char* key;
};

class AddFileCommandTest : public FormWithFakePlatform,
                           public ::testing::WithParamInterface<AddFileButton> {
protected:
    QPushButton* button() { return (*form).*GetParam().button; }
    QLineEdit* field() { return (*form).*GetParam().field; }
    QLineEdit* otherField() { return (*form).*GetParam().otherField; }
    QString key() { return QString::fromLatin1(GetParam().key); }
    void press() { QTest::mouseClick(button(), Qt::LeftButton); }
};

TEST_P(AddFileCommandTest, AsksForOneSupportedPictureWithTheCommandsTitle)
{
    field()->setText(QStringLiteral("/pictures/former.jpg"));
    press();
    ASSERT_EQ(platform.openFileCalls.size(), 1u);
    EXPECT_EQ(platform.openFileCalls[0].title,
              QStringLiteral("Add File(s) - Hold Ctrl or Shift to select multiple files"));
    // The designed entry comes first, so the dialog opens with it; PNG, which the program reads
    // as well, and any other file follow.
    EXPECT_EQ(platform.openFileCalls[0].filter.split(QStringLiteral(";;")),
              QStringList({QStringLiteral("Supported Image Files (*.bmp *.dib *.gif *.jpg *.jpeg)"),
                           QStringLiteral("All Readable Images (*.bmp *.dib *.gif *.jpg *.jpeg *.jpe *.png)"),
                           QStringLiteral("All Files (*)")}));
}

TEST_P(AddFileCommandTest, OpensWhereTheFieldsPictureIsElseWhereTheLastWasChosenElseInPictures)
{
    QTemporaryDir home;
    const QString pictures = home.filePath(QStringLiteral("Pictures"));
    const QString own = home.filePath(QStringLiteral("Holidays 2024"));
    const QString last = home.filePath(QStringLiteral("Chosen"));
    const QString gone = home.filePath(QStringLiteral("Gone"));
    for (const QString& folder : {pictures, own, last})
        ASSERT_TRUE(QDir().mkpath(folder));
    platform.picturesFolder = pictures;

    struct Step {
        QString fieldText;
        QString chosen; // empty: the user cancels
        QString start;
    };
    const Step steps[] = {
        {QString(), QString(), pictures},
        {own + "/coast.jpg", QString(), own},
        {gone + "/coast.jpg", QString(), pictures},
        {QString(), last + "/dawn.jpg", pictures},
        // From here on a picture has been chosen in this run.
        {gone + "/coast.jpg", QString(), last},
        {QString(), QString(), last},
        {own + "/coast.jpg", QString(), own},
    };
    for (const Step& step : steps) {
        field()->setText(step.fieldText);
        if (!step.chosen.isEmpty())
            platform.openFileAnswers.push_back(step.chosen);
        press();
        EXPECT_EQ(platform.openFileCalls.back().startFolder, step.start) << step.fieldText.toStdString();
    }

    // The other field's dialog opens where the last picture was chosen too.
    QTest::mouseClick((*form).*GetParam().otherButton, Qt::LeftButton);
    EXPECT_EQ(platform.openFileCalls.back().startFolder, last);

    // Without any folder to open in, the platform decides.
    Form1 fresh(platform);
    platform.picturesFolder.clear();
    QTest::mouseClick(fresh.*GetParam().button, Qt::LeftButton);
    EXPECT_EQ(platform.openFileCalls.back().startFolder, QString());
}

TEST_P(AddFileCommandTest, ChosenPathReplacesTheWholeFieldAndIsStoredAtOnce)
{
    const QStringList chosen = {QStringLiteral("/home/ann/My Pictures/beach at noon.jpg"),
                                QStringLiteral("/home/ann/trip.2021.08.31.final.v2.jpeg"),
                                QStringLiteral("/srv/photos/a;b|c.bmp")};
    field()->setText(QStringLiteral("/pictures/former.jpg"));
    for (const QString& path : chosen) {
        platform.openFileAnswers.push_back(path);
        press();
        EXPECT_EQ(field()->text(), path);
        EXPECT_EQ(stored(key()), path);
    }
    EXPECT_EQ(otherField()->text(), QString());
    EXPECT_TRUE(platform.messages.empty());
}

TEST_P(AddFileCommandTest, CancelLeavesFieldAndStoreAlone)
{
    for (const QString& former : {QString(), QStringLiteral("/pictures/former one.jpg")}) {
        field()->setText(former);
        const std::optional<QString> storedBefore = stored(key());
        press();
        EXPECT_EQ(field()->text(), former);
        EXPECT_EQ(stored(key()), storedBefore);
    }
    EXPECT_TRUE(platform.messages.empty());
}

// A platform whose Open-file dialog cannot be shown.
class BrokenDialogPlatform : public FakePlatform {
public:
    QString GetOpenFileName(QWidget*, const QString&, const QString&, const QString&) override
    {
        throw Failure(FailureNumber::InvalidCall, "The dialog cannot be shown");
    }
};

TEST_P(AddFileCommandTest, DialogFailureIsReportedAndLeavesTheField)
{
    BrokenDialogPlatform broken;
    Form1 window(broken);
    (window.*GetParam().field)->setText(QStringLiteral("/pictures/former.jpg"));
    QTest::mouseClick(window.*GetParam().button, Qt::LeftButton);
    ASSERT_EQ(broken.messages.size(), 1u);
    EXPECT_EQ(broken.messages[0].title, QStringLiteral("Application Error"));
    EXPECT_TRUE(broken.messages[0].text.startsWith(
        QStringLiteral("The dialog cannot be shown\r\nin Corvasse2021/08/31.Form1.%1 at line 100\r\r")
            .arg(QString::fromLatin1(GetParam().procedure))));
    EXPECT_EQ((window.*GetParam().field)->text(), QStringLiteral("/pictures/former.jpg"));
}

INSTANTIATE_TEST_SUITE_P(
    Fields, AddFileCommandTest,
    ::testing::Values(
        AddFileButton{"PushButton1_Click", &Form1::PushButton1, &Form1::PushButton3, &Form1::Text1, &Form1::Text2, "Image 1"},
        AddFileButton{"PushButton3_Click", &Form1::PushButton3, &Form1::PushButton1, &Form1::Text2, &Form1::Text1, "Image 2"}),
    [](const auto& info) { return std::string(info.param.procedure); });

} // namespace
