#include "app/QtPlatform.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

struct ShownBox {
    Qt::TextFormat format = Qt::AutoText;
    QString text;
    QString title;
};

// Shows the message through the window's platform and reads what the box showed, then
// closes it as the user would.
ShownBox Show(const QString& text, int style, const QString& title)
{
    ShownBox shown;
    QTimer reader;
    QObject::connect(&reader, &QTimer::timeout, [&] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(widget);
            if (!box || !box->isVisible())
                continue;
            if (const auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
                shown = {label->textFormat(), label->text(), box->windowTitle()};
            }
            box->accept();
        }
    });
    reader.start(10);
    QtPlatform platform;
    platform.MsgBox(nullptr, text, style, title);
    return shown;
}

} // namespace

// A path may hold what looks like markup; the report's lines stay lines.
TEST(QtPlatformMessageBox, ShowsItsTextAsPlainText)
{
    const ShownBox shown = Show(QStringLiteral("Cannot write /home/ann/<b>x.jpg: &amp; no room\r\nin the job at line 124\r\r"
                                               "Please email"),
                                MsgBoxStyle::Exclamation, QStringLiteral("Application Error"));
    EXPECT_EQ(shown.format, Qt::PlainText);
    EXPECT_EQ(shown.text.toStdString(), "Cannot write /home/ann/<b>x.jpg: &amp; no room\nin the job at line 124\n\nPlease email");
    EXPECT_EQ(shown.title.toStdString(), "Application Error");
}
