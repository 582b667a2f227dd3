#include "FormOnStore.h"

#include "app/ExportCommand.h"
#include "app/ExportDialog.h"
#include "app/LivePreview.h"
#include "app/PreviewWindow.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

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

    ExportDialog dialog(&form(), platform, choices, QSize(6000, 4000), QSize());
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

    ExportDialog dialog(&form(), platform, readChoices(), QSize(), QSize());
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
    ExportDialog reopened(&form(), platform, again, QSize(), QSize());
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

namespace {

const QString FormatFilter = QStringLiteral("JPEG (*.jpg *.jpeg);;PNG (*.png);;WebP (*.webp);;BMP (*.bmp)");

} // namespace

// Browse… opens the save-file dialog at the name in the field, with the format list as its
// filter and the format shown chosen; the file chosen becomes the name, and the format list
// follows its extension.
TEST_F(ExportDialogTest, BrowseChoosesTheFileAndTheFormatFollowsItsExtension)
{
    ExportDialog dialog(&form(), platform, readChoices(), QSize(), QSize());
    dialog.fileName->setText(QStringLiteral("/out/wide.png"));
    dialog.format->setCurrentIndex(1);
    platform.saveFileAnswers = {QStringLiteral("/elsewhere/tall.webp"), QStringLiteral("/elsewhere/flat.JPEG")};
    dialog.browse->click();

    ASSERT_EQ(platform.saveFileCalls.size(), 1u);
    EXPECT_EQ(platform.saveFileCalls[0].title, QStringLiteral("Export Blend As"));
    EXPECT_EQ(platform.saveFileCalls[0].startFile, QStringLiteral("/out/wide.png"));
    EXPECT_EQ(platform.saveFileCalls[0].filter, FormatFilter);
    EXPECT_EQ(platform.saveFileCalls[0].selectedFilter, QStringLiteral("PNG (*.png)"));
    EXPECT_EQ(dialog.fileName->text(), QStringLiteral("/elsewhere/tall.webp"));
    EXPECT_EQ(dialog.format->currentIndex(), 2);

    dialog.browse->click();
    EXPECT_EQ(platform.saveFileCalls[1].selectedFilter, QStringLiteral("WebP (*.webp)"));
    EXPECT_EQ(dialog.fileName->text(), QStringLiteral("/elsewhere/flat.JPEG"));
    EXPECT_EQ(dialog.format->currentIndex(), 0);
    EXPECT_EQ(dialog.choices().file, QStringLiteral("/elsewhere/flat.JPEG"));
}

// Cancelled, the dialog leaves the name and the format as they were; a name of no format the
// export writes is taken as chosen and leaves the format shown, for the export to refuse.
TEST_F(ExportDialogTest, BrowseCancelledOrGivingAnUnknownExtensionLeavesTheFormat)
{
    ExportDialog dialog(&form(), platform, readChoices(), QSize(), QSize());
    dialog.fileName->setText(QStringLiteral("/out/wide.bmp"));
    dialog.format->setCurrentIndex(3);
    platform.saveFileAnswers = {QString(), QStringLiteral("/out/wide.tif")};

    dialog.browse->click();
    EXPECT_EQ(dialog.fileName->text(), QStringLiteral("/out/wide.bmp"));
    EXPECT_EQ(dialog.format->currentIndex(), 3);

    dialog.browse->click();
    EXPECT_EQ(dialog.fileName->text(), QStringLiteral("/out/wide.tif"));
    EXPECT_EQ(dialog.format->currentIndex(), 3);
    EXPECT_EQ(platform.saveFileCalls.size(), 2u);
}

// Tab goes from the name to Browse… and on down the form; Enter in the name field is the
// dialog's OK, not Browse….
TEST_F(ExportDialogTest, TabGoesFromTheNameToBrowseAndEnterInTheNameIsOk)
{
    ExportDialog dialog(&form(), platform, readChoices(), QSize(), QSize());
    dialog.size->setCurrentIndex(3);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    dialog.fileName->setFocus();

    const std::pair<QWidget*, const char*> named[] = {
        {dialog.fileName, "file"}, {dialog.browse, "Browse"}, {dialog.format, "format"}, {dialog.size, "size"},
        {dialog.width, "width"},   {dialog.height, "height"}, {dialog.fit, "fit"},       {dialog.quality, "quality"}};
    const auto nameOfFocused = [&] {
        QWidget* focused = QApplication::focusWidget();
        for (const auto& [widget, name] : named)
            if (widget == focused || widget->isAncestorOf(focused))
                return QString::fromLatin1(name);
        const auto* button = qobject_cast<const QPushButton*>(focused);
        return button ? button->text() : QStringLiteral("?");
    };
    QStringList order;
    for (int i = 0; i < 10; ++i) {
        order << nameOfFocused();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(order.join(QStringLiteral(", ")).toStdString(),
              "file, Browse, format, size, width, height, fit, quality, OK, Cancel");

    dialog.fileName->setFocus();
    QTest::keyClick(dialog.fileName, Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(platform.saveFileCalls.empty());
}
