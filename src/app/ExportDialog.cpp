#include "app/ExportDialog.h"

#include "engine/Canvas.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStringList>

namespace {

// The formats in the order of the list, each with the extension it gives a file name.
struct FormatEntry {
    const char* label;
    const char* extension;
};
constexpr FormatEntry Formats[] = {
    {"JPEG (*.jpg *.jpeg)", "jpg"}, {"PNG (*.png)", "png"}, {"WebP (*.webp)", "webp"}, {"BMP (*.bmp)", "bmp"}};

// The format list as a file dialog's filter.
QString formatFilter()
{
    QStringList entries;
    for (const FormatEntry& entry : Formats)
        entries << QString::fromLatin1(entry.label);
    return entries.join(QStringLiteral(";;"));
}

int formatIndexOf(const QString& file)
{
    switch (ExportFormatOf(file)) {
    case ExportFormat::Png:
        return 1;
    case ExportFormat::WebP:
        return 2;
    case ExportFormat::Bmp:
        return 3;
    default:
        return 0;
    }
}

QString sizeLabel(const QString& name, QSize size)
{
    return size.isValid() && !size.isEmpty() ? QStringLiteral("%1 (%2 x %3)").arg(name).arg(size.width()).arg(size.height())
                                             : name;
}

} // namespace

ExportDialog::ExportDialog(QWidget* parent, Dialogs& dialogs, const ExportChoices& choices, QSize first, QSize second)
    : QDialog(parent), fileName(new QLineEdit(choices.file)), browse(new QPushButton(QStringLiteral("Browse…"))),
      format(new QComboBox), size(new QComboBox), width(new QSpinBox), height(new QSpinBox), fit(new QComboBox),
      quality(new QSpinBox), dialogs_(dialogs)
{
    setWindowTitle(QStringLiteral("Export Blend"));
    for (const FormatEntry& entry : Formats)
        format->addItem(QString::fromLatin1(entry.label));
    format->setCurrentIndex(formatIndexOf(choices.file));
    connect(format, &QComboBox::activated, this, [this](int index) { formatChosen(index); });
    connect(browse, &QPushButton::clicked, this, [this] { browseChosen(); });

    size->addItem(sizeLabel(QStringLiteral("Window"), QSize(Canvas::Width, Canvas::Height)));
    size->addItem(sizeLabel(QStringLiteral("Picture #1"), first));
    size->addItem(sizeLabel(QStringLiteral("Picture #2"), second));
    size->addItem(QStringLiteral("Other size"));
    size->setCurrentIndex(static_cast<int>(choices.size.choice));
    for (QSpinBox* side : {width, height})
        side->setRange(1, 1 << 20);
    const QSize given = choices.size.choice == ExportSize::Choice::Given ? choices.size.given : (first.isEmpty() ? QSize(Canvas::Width, Canvas::Height) : first);
    width->setValue(given.width());
    height->setValue(given.height());
    const auto givenEnabled = [this] {
        const bool other = size->currentIndex() == static_cast<int>(ExportSize::Choice::Given);
        width->setEnabled(other);
        height->setEnabled(other);
    };
    givenEnabled();
    connect(size, &QComboBox::currentIndexChanged, this, givenEnabled);

    fit->addItem(QStringLiteral("Stretch"));
    fit->addItem(QStringLiteral("Cover (proportions kept, cut to size)"));
    fit->setCurrentIndex(choices.fit == PictureFit::Cover ? 1 : 0);
    quality->setRange(1, 100);
    quality->setValue(choices.quality);

    // Room for a file's name with some of its folder.
    fileName->setMinimumWidth(fileName->fontMetrics().averageCharWidth() * 40);
    // The rows are made in the order of the tab places: the file, Browse, then down the form.
    auto* file = new QHBoxLayout;
    file->addWidget(fileName);
    file->addWidget(browse);
    auto* sides = new QHBoxLayout;
    sides->addWidget(width);
    sides->addWidget(height);
    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("File:"), file);
    form->addRow(QStringLiteral("Format:"), format);
    form->addRow(QStringLiteral("Size:"), size);
    form->addRow(QStringLiteral("Width x height:"), sides);
    form->addRow(QStringLiteral("Fit:"), fit);
    form->addRow(QStringLiteral("Quality:"), quality);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

void ExportDialog::formatChosen(int index)
{
    const QString file = fileName->text();
    if (formatIndexOf(file) == index && ExportFormatOf(file) != ExportFormat::Invalid)
        return;
    const QFileInfo info(file);
    const QString stem = info.suffix().isEmpty() ? file : file.left(file.size() - info.suffix().size() - 1);
    fileName->setText(stem + QLatin1Char('.') + QLatin1String(Formats[index].extension));
}

void ExportDialog::browseChosen()
{
    // The name as typed: a relative one is written from the current folder, where the dialog
    // then opens too.
    const QString chosen = dialogs_.GetSaveFileName(this, QStringLiteral("Export Blend As"), fileName->text(),
                                                    formatFilter(),
                                                    QString::fromLatin1(Formats[format->currentIndex()].label));
    if (chosen.isEmpty())
        return;
    fileName->setText(QDir::toNativeSeparators(chosen));
    // A name of no format the export writes keeps the format shown; the export refuses it and
    // names the extensions.
    if (ExportFormatOf(chosen) != ExportFormat::Invalid)
        format->setCurrentIndex(formatIndexOf(chosen));
}

ExportChoices ExportDialog::choices() const
{
    ExportChoices c;
    c.file = fileName->text();
    c.size.choice = static_cast<ExportSize::Choice>(size->currentIndex());
    if (c.size.choice == ExportSize::Choice::Given)
        c.size.given = QSize(width->value(), height->value());
    c.fit = fit->currentIndex() == 1 ? PictureFit::Cover : PictureFit::Stretch;
    c.quality = quality->value();
    return c;
}
