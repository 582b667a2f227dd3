#include "app/LivePreview.h"

#include "app/Form1.h"
#include "app/PreviewWindow.h"
#include "app/Settings.h"
#include "core/Failure.h"

#include <QAction>
#include <QMenu>
#include <QScreen>

#include <algorithm>
#include <optional>

namespace {

// Long enough for the keys of a typed path to come together, short enough to feel live.
constexpr int TypingPauseMs = 150;
// Between the main window and the preview.
constexpr int Gap = 8;

QString FieldName(int field)
{
    return QStringLiteral("Image #%1").arg(field);
}

std::optional<BlendChoice> ChosenSide(const Form1& form)
{
    return ChooseBlend(form.Option1->isChecked(), form.Option2->isChecked(), form.Option3->isChecked(),
                       form.Option4->isChecked());
}

} // namespace

LivePreview::LivePreview(Form1& form)
    : form_(form),
      window_(new PreviewWindow(&form)),
      showAction_(new QAction(QStringLiteral("Show Preview"), &form)),
      contextMenu_(new QMenu(&form)),
      pictures_(form.platform(), [this] { refresh(); })
{
    showAction_->setCheckable(true);
    showAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    showAction_->setShortcutContext(Qt::WindowShortcut);
    // The shortcut works wherever the keyboard is in either window, the text boxes included.
    form.addAction(showAction_);
    window_->addAction(showAction_);
    contextMenu_->addAction(showAction_);
    QObject::connect(showAction_, &QAction::triggered, &connections_, [this](bool checked) { setOpen(checked); });
    window_->onClosed = [this] {
        open_ = false;
        forget();
        showAction_->setChecked(false);
        WriteSetting(form_.platform(), SettingKeys::Preview, QStringLiteral("False"));
    };

    // The window's background only: the text boxes and the scroll bar keep their own menus.
    form.setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(&form, &QWidget::customContextMenuRequested, &connections_,
                     [this](const QPoint& place) { contextMenu_->popup(form_.mapToGlobal(place)); });

    for (const int field : {1, 2}) {
        QTimer& typing = typing_[static_cast<std::size_t>(field - 1)];
        typing.setSingleShot(true);
        typing.setInterval(TypingPauseMs);
        QObject::connect(&typing, &QTimer::timeout, &connections_, [this, field] { loadField(field); });
    }
    QObject::connect(form.Text1, &QLineEdit::textChanged, &connections_, [this] { fieldChanged(1); });
    QObject::connect(form.Text2, &QLineEdit::textChanged, &connections_, [this] { fieldChanged(2); });
    for (OptionButton* side : {form.Option1, form.Option2, form.Option3, form.Option4}) {
        // Selecting a side unselects the one before; only the selection counts.
        QObject::connect(side, &QAbstractButton::toggled, &connections_, [this](bool selected) {
            if (selected || !ChosenSide(form_))
                refresh();
        });
    }
    QObject::connect(form.hStart, &QScrollBar::valueChanged, &connections_, [this] { refresh(); });
}

LivePreview::~LivePreview()
{
    // The form deletes the window with its other children, after this object: a close
    // meanwhile has no one left to tell.
    window_->onClosed = nullptr;
}

void LivePreview::restore()
{
    bool wasOpen = false;
    try {
        wasOpen = SettingAsYesNo(ReadSetting(form_.platform(), SettingKeys::Preview));
    } catch (const Failure&) {
        // A stored text that is no yes or no leaves the preview closed.
    }
    if (wasOpen)
        setOpen(true);
}

void LivePreview::setOpen(bool open)
{
    if (open && !open_) {
        open_ = true;
        const QRect mainFrame = form_.frameGeometry();
        // The preview has no frame before it is first shown; the main window's is a fair guess.
        const QSize frame = window_->size() + (mainFrame.size() - form_.size());
        const QScreen* screen = form_.screen();
        window_->move(PreviewPlace(mainFrame, frame, screen ? screen->availableGeometry() : mainFrame));
        window_->show();
        loadField(1);
        loadField(2);
        refresh();
    } else if (!open && open_) {
        open_ = false;
        window_->hide();
        forget();
    }
    showAction_->setChecked(open);
    WriteSetting(form_.platform(), SettingKeys::Preview, open ? QStringLiteral("True") : QStringLiteral("False"));
}

void LivePreview::forget()
{
    // Closed, the preview keeps no picture, and opening it again reads the files afresh.
    for (QTimer& typing : typing_)
        typing.stop();
    pictures_.clear();
    window_->showNothing();
}

void LivePreview::fieldChanged(int field)
{
    if (open_)
        typing_[static_cast<std::size_t>(field - 1)].start();
}

void LivePreview::loadField(int field)
{
    pictures_.setPath(field, (field == 1 ? form_.Text1 : form_.Text2)->text());
}

void LivePreview::refresh()
{
    if (!open_)
        return;
    const std::optional<BlendChoice> side = ChosenSide(form_);
    if (!side) {
        // The start button then composes nothing and writes the destination canvas as it is.
        window_->showPicture(form_.canvases.picDest.Image());
        return;
    }
    for (const int field : {1, 2}) {
        if (pictures_.field(field).loading) {
            // What is shown stays until the new picture is there; a fresh window says why it is empty.
            if (window_->picture().isNull() && window_->message().isEmpty())
                window_->showMessage(FieldName(field) + QStringLiteral(": loading"));
            return;
        }
    }
    for (const int field : {1, 2}) {
        const PreviewPictures::Field& picture = pictures_.field(field);
        if (picture.path.isEmpty()) {
            window_->showMessage(FieldName(field) + QStringLiteral(": no file chosen"));
            return;
        }
        if (!picture.failure.isEmpty()) {
            window_->showMessage(FieldName(field) + QStringLiteral(": ") + picture.failure);
            return;
        }
    }
    window_->showPicture(blend_.compose(pictures_.field(side->baseField).reduced,
                                        pictures_.field(side->overlayField).reduced, side->direction,
                                        form_.hStart->value()));
}

QPoint PreviewPlace(const QRect& mainFrame, const QSize& previewFrame, const QRect& screen)
{
    const int right = mainFrame.right() + 1 + Gap;
    const int left = mainFrame.left() - Gap - previewFrame.width();
    int x = std::max(screen.left(), screen.right() + 1 - previewFrame.width());
    if (right + previewFrame.width() <= screen.right() + 1)
        x = right;
    else if (left >= screen.left())
        x = left;
    const int lowest = std::max(screen.top(), screen.bottom() + 1 - previewFrame.height());
    return {x, std::clamp(mainFrame.top(), screen.top(), lowest)};
}
