#include "FormOnStore.h"

#include "app/ExportCommand.h"
#include "app/ExportDialog.h"
#include "app/LivePreview.h"
#include "app/PreviewWindow.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QSpinBox>

namespace {

class ExportDialogTest : public FormOnStore {
protected:
    ExportChoices readChoices() { return ReadExportChoices(platform, form().exportCommand().defaultFile()); }
};

const char* const DesignedKeys[] = {"Image 1", "Image 2", "Text4", "Option", "Option5", "Option6", "LastFolderDot", "Preview"};

} // namespace

TEST_F(ExportDialogTest, IsOnCtrlEInTheContextMenuAndOnThePreview)
{
    QAction& action = form().exportCommand().action();
    EXPECT_EQ(action.text(), QStringLiteral("Export Blend…"));
    EXPECT_EQ(action.shortcut(), QKeySequence(Qt::CTRL | Qt::Key_E));
    EXPECT_TRUE(form().preview().contextMenu().actions().contains(&action));
    EXPECT_TRUE(form().actions().contains(&action));
    EXPECT_TRUE(form().preview().window().actions().contains(&action));
}

// A first export offers blend.jpg in the folder the start button writes into, the window's
// size, the stretch fit and quality 100.
TEST_F(ExportDialogTest, AFirstExportOffersBlendJpgInTheJobsOutputFolder)
{
    form().Option5->setChecked(true);
    form().Text4->setText(QStringLiteral("/some/folder/"));
    const ExportChoices choices = readChoices();
    EXPECT_EQ(choices.file, QStringLiteral("/some/folder/blend.jpg"));
    EXPECT_EQ(choices.size.choice, ExportSize::Choice::Window);
    EXPECT_EQ(choices.fit, PictureFit::Stretch);
    EXPECT_EQ(choices.quality, 100);

    ExportDialog dialog(&form(), choices, QSize(6000, 4000), QSize());
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Export Blend"));
    EXPECT_EQ(dialog.size->itemText(0), QStringLiteral("Window (729 x 425)"));
    EXPECT_EQ(dialog.size->itemText(1), QStringLiteral("Picture #1 (6000 x 4000)"));
    EXPECT_EQ(dialog.size->itemText(2), QStringLiteral("Picture #2"));
    EXPECT_FALSE(dialog.width->isEnabled());
}

// What the dialog gives is stored under keys of its own and offered again; the designed keys
// are not written.
TEST_F(ExportDialogTest, TheChoicesAreStoredAndOfferedAgainWithoutTouchingTheDesignedKeys)
{
    form();
    std::vector<std::optional<QString>> designedBefore;
    for (const char* key : DesignedKeys)
        designedBefore.push_back(stored(QString::fromLatin1(key)));

    ExportDialog dialog(&form(), readChoices(), QSize(), QSize());
    dialog.fileName->setText(QStringLiteral("/out/wide.jpg"));
    dialog.format->setCurrentIndex(1);
    dialog.format->activated(1);
    EXPECT_EQ(dialog.fileName->text(), QStringLiteral("/out/wide.png"));
    dialog.size->setCurrentIndex(3);
    EXPECT_TRUE(dialog.width->isEnabled());
    dialog.width->setValue(3000);
    dialog.height->setValue(1000);
    dialog.fit->setCurrentIndex(1);
    dialog.quality->setValue(80);
    WriteExportChoices(platform, dialog.choices());

    EXPECT_EQ(stored(QStringLiteral("Export File")), QStringLiteral("/out/wide.png"));
    EXPECT_EQ(stored(QStringLiteral("Export Size")), QStringLiteral("3000x1000"));
    EXPECT_EQ(stored(QStringLiteral("Export Fit")), QStringLiteral("cover"));
    EXPECT_EQ(stored(QStringLiteral("Export Quality")), QStringLiteral("80"));
    for (std::size_t i = 0; i < std::size(DesignedKeys); ++i)
        EXPECT_EQ(stored(QString::fromLatin1(DesignedKeys[i])), designedBefore[i]) << DesignedKeys[i];

    const ExportChoices again = readChoices();
    EXPECT_EQ(again.file, QStringLiteral("/out/wide.png"));
    EXPECT_EQ(again.size.choice, ExportSize::Choice::Given);
    EXPECT_EQ(again.size.given, QSize(3000, 1000));
    EXPECT_EQ(again.fit, PictureFit::Cover);
    EXPECT_EQ(again.quality, 80);
    ExportDialog reopened(&form(), again, QSize(), QSize());
    EXPECT_EQ(reopened.format->currentIndex(), 1);
    EXPECT_EQ(reopened.size->currentIndex(), 3);
    EXPECT_EQ(reopened.width->value(), 3000);
}

// A stored choice that is no value of its kind gives way to the default.
TEST_F(ExportDialogTest, AStoredChoiceThatMakesNoSenseTakesTheDefault)
{
    for (const auto& [key, text] : {std::pair{"Export Size", "0x9"}, std::pair{"Export Fit", "fill"},
                                    std::pair{"Export Quality", "250"}, std::pair{"Export File", ""}})
        platform.StoreSetting(QString::fromLatin1(key), QString::fromLatin1(text));
    const ExportChoices choices = readChoices();
    EXPECT_EQ(choices.size.choice, ExportSize::Choice::Window);
    EXPECT_EQ(choices.fit, PictureFit::Stretch);
    EXPECT_EQ(choices.quality, 100);
    EXPECT_EQ(choices.file, form().exportCommand().defaultFile());
}
