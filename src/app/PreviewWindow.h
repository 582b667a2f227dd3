#pragma once

#include "core/Picture.h"

#include <QImage>
#include <QString>
#include <QWidget>

#include <functional>

// The window beside the main window that shows the blend as the start button would write
// it, scaled to fit with its aspect kept, or one line saying why it cannot.
class PreviewWindow : public QWidget {
public:
    explicit PreviewWindow(QWidget* owner);

    // The result at canvas size; the window shows it scaled.
    void showPicture(Picture picture);
    // One line in place of a picture.
    void showMessage(const QString& line);
    // Shows nothing, until the next picture or line.
    void showNothing();

    const Picture& picture() const { return picture_; }
    const QString& message() const { return message_; }

    // Runs when the user closes the window.
    std::function<void()> onClosed;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void rescale();

    Picture picture_;
    QString message_;
    QImage scaled_;
};
