#include "app/QtPlatform.h"
#include "app/QtTranslations.h"
#include "platform/MessageSink.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

namespace {

struct ShownBox {
    QString title;
    QString windowTitle;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString displayName;
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
    platform.MsgBox(nullptr, QStringLiteral("The dialog cannot be shown\r\nin it"), style, title);
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

    const ShownBox done = showBox(QString(), MsgBoxStyle::OkOnly);
    EXPECT_EQ(done.title, QStringLiteral("Vantelle"));
    EXPECT_EQ(done.icon, QMessageBox::NoIcon);
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QStringLiteral("Vantelle"));
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
