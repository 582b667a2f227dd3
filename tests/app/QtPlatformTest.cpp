#include "app/Form1.h"
#include "app/QtPlatform.h"
#include "app/QtTranslations.h"
#include "platform/MessageSink.h"
#include "fakes/FakePlatform.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QMap>
#include <QMessageBox>
#include <QPlatformSurfaceEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

namespace {

// The titles the desktop is given for the windows made while this lives: from the moment a
// native window exists, each title reaches the window system, whose plugin appends " — " and
// the application display name of that moment unless the title already ends with it.
class TitlesAsShown : public QObject {
public:
    TitlesAsShown() { qApp->installEventFilter(this); }
    ~TitlesAsShown() override { qApp->removeEventFilter(this); }
    TitlesAsShown(const TitlesAsShown&) = delete;
    TitlesAsShown& operator=(const TitlesAsShown&) = delete;

    // The last title each window was given, in the order the windows were made.
    QStringList titles() const { return titles_.values(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* window = qobject_cast<QWindow*>(watched);
        if (window && event->type() == QEvent::PlatformSurface
            && static_cast<QPlatformSurfaceEvent*>(event)->surfaceEventType() == QPlatformSurfaceEvent::SurfaceCreated) {
            const qsizetype index = order_++;
            if (!window->title().isEmpty())
                titles_.insert(index, shown(window->title()));
            connect(window, &QWindow::windowTitleChanged, this,
                    [this, index](const QString& title) { titles_.insert(index, shown(title)); });
        }
        return false;
    }

private:
    static QString shown(const QString& title)
    {
        const QString name = QGuiApplication::applicationDisplayName();
        return name.isEmpty() || title.endsWith(name) ? title : title + QStringLiteral(" \u2014 ") + name;
    }

    qsizetype order_ = 0;
    QMap<qsizetype, QString> titles_;
};

struct ShownBox {
    QString title;
    QString windowTitle;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString displayName;
    QStringList createdTitles;
};

// Shows one box through the window's platform and reads it while it waits for the user.
ShownBox showBox(const QString& title, int style)
{
    ShownBox shown;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        shown.title = box->windowTitle();
        shown.windowTitle = box->windowHandle() ? box->windowHandle()->title() : QString();
        shown.icon = box->icon();
        shown.displayName = QGuiApplication::applicationDisplayName();
        box->accept();
    });
    QtPlatform platform;
    const TitlesAsShown created;
    platform.MsgBox(nullptr, QStringLiteral("The dialog cannot be shown\r\nin it"), style, title);
    shown.createdTitles = created.titles();
    return shown;
}

// The report names its own caption and shows it exactly; a box without one carries the
// application title. Qt appends the application's name to window titles on the desktop, which
// the box keeps out while its window takes the title, and the name is back for every other
// window.
TEST(QtPlatformMessageBox, ShowsItsCaptionExactly)
{
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Vantelle"));

    const ShownBox report = showBox(QStringLiteral("Application Error"), MsgBoxStyle::Exclamation);
    EXPECT_EQ(report.title, QStringLiteral("Application Error"));
    EXPECT_EQ(report.windowTitle, QStringLiteral("Application Error"));
    EXPECT_EQ(report.icon, QMessageBox::Warning);
    EXPECT_EQ(report.displayName, QStringLiteral("Vantelle"));
    EXPECT_EQ(report.createdTitles, QStringList{QStringLiteral("Application Error")});

    const ShownBox done = showBox(QString(), MsgBoxStyle::OkOnly);
    EXPECT_EQ(done.title, QStringLiteral("Vantelle"));
    EXPECT_EQ(done.icon, QMessageBox::NoIcon);
    EXPECT_EQ(done.createdTitles, QStringList{QStringLiteral("Vantelle")});
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QStringLiteral("Vantelle"));
}

// Qt makes a widget's siblings native windows once one of them is; a message box over the main
// window must not turn the window's frames and buttons into windows of their own.
TEST(QtPlatformMessageBox, LeavesTheControlsOfItsOwnerInOneWindow)
{
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Vantelle"));
    FakePlatform faked;
    Form1 form(faked);
    form.show();
    const auto nativeControls = [&] {
        QStringList native;
        for (const QWidget* control : form.findChildren<QWidget*>())
            if (!control->isWindow() && (control->testAttribute(Qt::WA_NativeWindow) || control->internalWinId()))
                native << control->objectName() + QLatin1Char('/') + QString::fromLatin1(control->metaObject()->className());
        return native.join(QStringLiteral(", ")).toStdString();
    };
    ASSERT_EQ(nativeControls(), "");

    QtPlatform platform;
    for (const QString& title : {QStringLiteral("Application Error"), QString()}) {
        QTimer::singleShot(0, [] {
            if (QWidget* box = QApplication::activeModalWidget())
                box->close();
        });
        platform.MsgBox(&form, QStringLiteral("Done."), MsgBoxStyle::OkOnly, title);
        EXPECT_EQ(nativeControls(), "") << title.toStdString();
    }
}

// The file dialogs carry the titles the commands give them, with nothing added.
TEST(QtPlatformFileDialogs, ShowTheirTitlesExactly)
{
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Vantelle"));
    QTemporaryDir folder;
    QtPlatform platform;
    const QString openTitle = QStringLiteral("Add File(s) - Hold Ctrl or Shift to select multiple files");
    const QString folderTitle = QStringLiteral("Save To This Folder");
    for (const QString& title : {openTitle, folderTitle}) {
        TitlesAsShown shown;
        bool wasFileDialog = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            wasFileDialog = dialog != nullptr;
            if (dialog)
                dialog->reject();
        });
        const QString chosen = title == openTitle
                                   ? platform.GetOpenFileName(nullptr, title, folder.path(), QStringLiteral("Pictures (*.jpg)"))
                                   : platform.BrowseForFolder(nullptr, title, folder.path());
        EXPECT_TRUE(wasFileDialog) << title.toStdString();
        EXPECT_EQ(chosen, QString());
        EXPECT_EQ(shown.titles(), QStringList{title});
        EXPECT_EQ(QGuiApplication::applicationDisplayName(), QStringLiteral("Vantelle"));
    }
}

// A chosen file and a chosen folder come back whole; the folder dialog offers folders only.
TEST(QtPlatformFileDialogs, ReturnWhatTheUserChose)
{
    QTemporaryDir folder;
    const QString picture = folder.filePath(QStringLiteral("coast at dusk.jpg"));
    QFile(picture).open(QIODevice::WriteOnly);
    QDir(folder.path()).mkdir(QStringLiteral("out"));
    QtPlatform platform;

    QTimer::singleShot(0, [&] {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile);
            dialog->selectFile(picture);
            static_cast<QDialog*>(dialog)->accept(); // the "Open" and "Choose" buttons
        }
    });
    EXPECT_EQ(platform.GetOpenFileName(nullptr, QStringLiteral("Add"), folder.path(), QStringLiteral("Pictures (*.jpg)")),
              picture);

    QTimer::singleShot(0, [&] {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            EXPECT_EQ(dialog->fileMode(), QFileDialog::Directory);
            EXPECT_TRUE(dialog->testOption(QFileDialog::ShowDirsOnly));
            dialog->selectFile(folder.filePath(QStringLiteral("out")));
            static_cast<QDialog*>(dialog)->accept(); // the "Open" and "Choose" buttons
        }
    });
    EXPECT_EQ(platform.BrowseForFolder(nullptr, QStringLiteral("Save"), folder.path()), folder.filePath(QStringLiteral("out")));
}

const QString SaveFilter = QStringLiteral("JPEG (*.jpg *.jpeg);;PNG (*.png);;All Files (*)");

// The save-file dialog opens in the folder of the name given, with that name and the filter
// entry given; a name typed without an extension takes the first one of the entry chosen,
// also of one the user chooses while the dialog is open.
TEST(QtPlatformSaveFileDialog, OpensAtTheNameGivenAndAddsTheExtensionOfTheEntryChosen)
{
    QTemporaryDir folder;
    QtPlatform platform;
    const struct {
        const char* typed;
        const char* chosenEntry; // by the user in the dialog; none when empty
        const char* expected;
    } cases[] = {{"wide", "", "wide.png"},
                 {"wide", "JPEG (*.jpg *.jpeg)", "wide.jpg"},
                 {"wide", "All Files (*)", "wide"},
                 {"wide.bmp", "", "wide.bmp"}};
    for (const auto& c : cases) {
        bool wasSaveDialog = false;
        QString title;
        QStringList offered;
        QString entry;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            wasSaveDialog = dialog->acceptMode() == QFileDialog::AcceptSave;
            title = dialog->windowTitle();
            offered = dialog->selectedFiles();
            entry = dialog->selectedNameFilter();
            if (*c.chosenEntry) {
                dialog->selectNameFilter(QString::fromLatin1(c.chosenEntry));
                Q_EMIT dialog->filterSelected(QString::fromLatin1(c.chosenEntry)); // as the user's choice tells it
            }
            dialog->selectFile(QString::fromLatin1(c.typed));
            static_cast<QDialog*>(dialog)->accept(); // the "Save" button
        });
        const QString chosen = platform.GetSaveFileName(nullptr, QStringLiteral("Export Blend As"),
                                                        folder.filePath(QStringLiteral("blend.png")), SaveFilter,
                                                        QStringLiteral("PNG (*.png)"));
        EXPECT_TRUE(wasSaveDialog) << c.typed;
        EXPECT_EQ(title, QStringLiteral("Export Blend As"));
        EXPECT_EQ(offered.join(QLatin1Char('|')).toStdString(), folder.filePath(QStringLiteral("blend.png")).toStdString());
        EXPECT_EQ(entry, QStringLiteral("PNG (*.png)"));
        EXPECT_EQ(chosen.toStdString(), folder.filePath(QString::fromLatin1(c.expected)).toStdString()) << c.chosenEntry;
    }
}

// A name in a folder that is gone opens the dialog in the nearest folder that is there, with
// the name filled in.
TEST(QtPlatformSaveFileDialog, OpensInTheNearestFolderThatIsThere)
{
    QTemporaryDir folder;
    QtPlatform platform;
    QString shownFolder;
    QStringList offered;
    QTimer::singleShot(0, [&] {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            shownFolder = dialog->directory().absolutePath();
            offered = dialog->selectedFiles();
            dialog->reject();
        }
    });
    platform.GetSaveFileName(nullptr, QStringLiteral("Export Blend As"), folder.filePath(QStringLiteral("gone/blend.png")),
                             SaveFilter, QStringLiteral("PNG (*.png)"));
    EXPECT_EQ(shownFolder.toStdString(), folder.path().toStdString());
    EXPECT_EQ(offered.join(QLatin1Char('|')).toStdString(), folder.filePath(QStringLiteral("blend.png")).toStdString());
}

// A file that exists is taken only once the user says to replace it; "No" leaves the dialog
// open for another name.
TEST(QtPlatformSaveFileDialog, AsksBeforeAFileThatExistsIsTaken)
{
    QTemporaryDir folder;
    const QString existing = folder.filePath(QStringLiteral("blend.png"));
    ASSERT_TRUE(QFile(existing).open(QIODevice::WriteOnly));
    QtPlatform platform;
    for (const QMessageBox::StandardButton answer : {QMessageBox::No, QMessageBox::Yes}) {
        QString question;
        bool openAfterAnswer = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            QTimer::singleShot(0, [&] {
                if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                    question = box->text();
                    box->button(answer)->click();
                }
            });
            dialog->selectFile(QStringLiteral("blend"));
            static_cast<QDialog*>(dialog)->accept(); // the "Save" button
            openAfterAnswer = dialog->isVisible();
            if (openAfterAnswer)
                dialog->reject();
        });
        const QString chosen = platform.GetSaveFileName(nullptr, QStringLiteral("Export Blend As"), existing, SaveFilter,
                                                        QStringLiteral("PNG (*.png)"));
        EXPECT_TRUE(question.startsWith(QStringLiteral("blend.png already exists."))) << question.toStdString();
        EXPECT_EQ(openAfterAnswer, answer == QMessageBox::No);
        EXPECT_EQ(chosen.toStdString(), (answer == QMessageBox::Yes ? existing : QString()).toStdString());
    }
}

TEST(QtTranslations, SpeakTheLanguageOfTheLocaleWhereQtHasIt)
{
    const std::unique_ptr<QTranslator> german = QtTranslationsFor(QLocale(QLocale::German, QLocale::Austria));
    ASSERT_NE(german, nullptr) << "Qt's translations are not installed (scripts/install-deps.sh)";
    EXPECT_EQ(german->translate("QPlatformTheme", "Cancel"), QStringLiteral("Abbrechen"));
    EXPECT_EQ(german->translate("QFileDialog", "Look in:"), QStringLiteral("Suchen in:"));

    EXPECT_EQ(QtTranslationsFor(QLocale(QLocale::Yoruba)), nullptr);
}

} // namespace
