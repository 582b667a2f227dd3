#include "app/PreviewWindow.h"

#include "app/PreviewBlend.h"
#include "app/WrappedLines.h"
#include "engine/Canvas.h"

#include <QCloseEvent>
#include <QPainter>

#include <utility>

PreviewWindow::PreviewWindow(QWidget* owner) : QWidget(owner, Qt::Tool)
{
    setObjectName(QStringLiteral("Preview"));
    setWindowTitle(QStringLiteral("Preview"));
    // Two thirds of the canvas: beside the main window, and with the canvas's aspect.
    resize(Canvas::Width * 2 / 3, Canvas::Height * 2 / 3);
    setMinimumSize(Canvas::Width / 6, Canvas::Height / 6);
    // Opening it leaves the keyboard where the user is typing.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(0x40, 0x40, 0x40));
    colours.setColor(QPalette::WindowText, Qt::white);
    setPalette(colours);
}

void PreviewWindow::showPicture(Picture picture)
{
    picture_ = std::move(picture);
    message_.clear();
    rescale();
    setAccessibleDescription(QString());
    update();
}

void PreviewWindow::showMessage(const QString& line)
{
    picture_ = Picture();
    message_ = line;
    scaled_ = QImage();
    setAccessibleDescription(line);
    update();
}

void PreviewWindow::showNothing()
{
    showMessage(QString());
}

void PreviewWindow::rescale()
{
    const qreal ratio = devicePixelRatioF();
    scaled_ = ScaledToFit(picture_, size() * ratio);
    scaled_.setDevicePixelRatio(ratio);
}

void PreviewWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (!scaled_.isNull()) {
        const QSizeF shown = scaled_.deviceIndependentSize();
        const QPointF corner((width() - shown.width()) / 2, (height() - shown.height()) / 2);
        painter.drawImage(corner, scaled_);
    } else if (!message_.isEmpty()) {
        // Centred line by line, broken between words; a path breaks inside only where it is
        // wider than the window.
        const QRect room = rect().adjusted(8, 8, -8, -8);
        const QStringList lines = WrappedLines(message_, font(), room.width());
        const int spacing = fontMetrics().lineSpacing();
        int top = room.top() + (room.height() - spacing * static_cast<int>(lines.size())) / 2;
        for (const QString& line : lines) {
            painter.drawText(QRect(room.left(), top, room.width(), spacing), Qt::AlignCenter, line.trimmed());
            top += spacing;
        }
    }
}

void PreviewWindow::resizeEvent(QResizeEvent* event)
{
    rescale();
    QWidget::resizeEvent(event);
}

void PreviewWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
    if (onClosed)
        onClosed();
}
