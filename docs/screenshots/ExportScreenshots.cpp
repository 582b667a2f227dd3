// Renders "Export Blend" and the progress of the export it starts as the program shows them,
// over the main window with its skin, and saves both as PNG files into the folder given:
//   export-dialog.png     the dialog for a pair of 6000 x 4000 photos, at picture #1's size
//   export-progress.png   that export under way, with Cancel
// The export is cancelled once shown, so it writes nothing. The settings, the pictures and the
// export live in a temporary folder, which is the current folder meanwhile, so the names the
// dialogs show are short; nothing is opened or shown outside the program.

#include "app/ExportCommand.h"
#include "app/ExportDialog.h"
#include "app/Form1.h"
#include "app/QtPlatform.h"
#include "app/QtTranslations.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QLinearGradient>
#include <QLineEdit>
#include <QPainter>
#include <QProgressDialog>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSettings>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <memory>

namespace {

// The window's platform with the data files of the build and nothing reaching the desktop:
// messages go to standard error, and no viewer or browser opens.
class ScreenshotPlatform : public QtPlatform {
public:
    void MsgBox(QWidget*, const QString& text, int, const QString&) override
    {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    }
    bool OpenDocument(const QString&) override { return true; }
    bool OpenWebAddress(const QString&) override { return true; }
    QString ProgramFolder() override { return QStringLiteral(VANTELLE_PROGRAM_DIR_IN_BUILD); }
};

// A photo-sized picture of a sky over the sea, with a camera's grain, so that the export has
// a real pair to decode.
bool writePhoto(const QString& path, QColor sky, QColor sea)
{
    QImage image(6000, 4000, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, 0, image.height());
    gradient.setColorAt(0, sky.lighter(140));
    gradient.setColorAt(0.55, sky);
    gradient.setColorAt(0.56, sea);
    gradient.setColorAt(1, sea.darker(160));
    painter.fillRect(image.rect(), gradient);
    painter.end();
    QRandomGenerator grain(1);
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int n = static_cast<int>(grain.bounded(24)) - 12;
            row[x] = qRgb(qBound(0, qRed(row[x]) + n, 255), qBound(0, qGreen(row[x]) + n, 255), qBound(0, qBlue(row[x]) + n, 255));
        }
    }
    // Written progressive, the pair takes long enough to decode that the progress shows on a
    // fast machine too, as it would for larger photos.
    QImageWriter writer(path, "jpeg");
    writer.setQuality(92);
    writer.setProgressiveScanWrite(true);
    return writer.write(image);
}

bool saveShot(QWidget& widget, const QString& path)
{
    const bool saved = widget.grab().save(path, "PNG");
    std::fprintf(stderr, "%s %s\n", saved ? "wrote" : "could not write", qPrintable(path));
    return saved;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: export_screenshots OUTPUT_FOLDER\n");
        return 2;
    }
    const QString out = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    const std::unique_ptr<QTranslator> qtTexts = QtTranslationsFor(QLocale());
    if (qtTexts)
        QCoreApplication::installTranslator(qtTexts.get());

    QTemporaryDir work;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, work.filePath(QStringLiteral("settings")));
    if (!work.isValid() || !QDir::setCurrent(work.path())
        || !writePhoto(QStringLiteral("coast at dusk.jpg"), QColor(0xe0, 0x90, 0x60), QColor(0x30, 0x40, 0x70))
        || !writePhoto(QStringLiteral("coast at dawn.jpg"), QColor(0x90, 0xb0, 0xe0), QColor(0x20, 0x60, 0x80))) {
        std::fprintf(stderr, "could not write the pictures\n");
        return 1;
    }

    ScreenshotPlatform platform;
    Form1 form(platform);
    form.Form_Load();
    form.show();
    form.Text1->setText(QStringLiteral("coast at dusk.jpg"));
    form.Text2->setText(QStringLiteral("coast at dawn.jpg"));
    form.Option1->setChecked(true);

    bool dialogShot = false;
    bool progressShot = false;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* dialog = dynamic_cast<ExportDialog*>(QApplication::activeModalWidget()); dialog && !dialogShot) {
            dialog->fileName->setText(QStringLiteral("coast at dusk and dawn.jpg"));
            dialog->size->setCurrentIndex(1);
            dialog->quality->setValue(95);
            dialogShot = saveShot(*dialog, out + QStringLiteral("/export-dialog.png"));
            dialog->accept();
            return;
        }
        // Shown with some of its bar filled: the pictures are decoded and the rows composed.
        auto* progress = form.findChild<QProgressDialog*>();
        if (progress && progress->isVisible() && progress->value() > 0 && !progressShot) {
            progressShot = saveShot(*progress, out + QStringLiteral("/export-progress.png"));
            progress->findChild<QPushButton*>()->click();
        }
    });
    poll.start();
    form.exportCommand().action().trigger();

    if (!dialogShot || !progressShot) {
        std::fprintf(stderr, "the %s did not show\n", dialogShot ? "progress" : "export dialog");
        return 1;
    }
    // Cancelled, the export has written nothing; a file would mean the shot shows no export under way.
    return QFileInfo::exists(QStringLiteral("coast at dusk and dawn.jpg")) ? 1 : 0;
}
