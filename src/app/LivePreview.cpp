#include "app/LivePreview.h"

#include "app/Form1.h"
#include "app/PreviewPlace.h"
#include "app/PreviewWindow.h"
#include "app/Settings.h"
#include "core/Failure.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QScreen>

#include <optional>

namespace {

// Long enough for the keys of a typed path to come together, short enough to feel live.
constexpr int TypingPauseMs = 150;

QString FieldName(int field)
{
    return QStringLiteral("Image #%1").arg(field);
}

QString LoadingLine(const QString& path)
{
    const QString name = QFileInfo(QDir::fromNativeSeparators(path)).fileName();
    return QStringLiteral("Loading %1\u2026").arg(name.isEmpty() ? path : name);
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
      pictures_(form.platform(), [this] { refresh(); }),
      preferredSize_(window_->size())
{
    showAction_->setCheckable(true);
    showAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    showAction_->setShortcutContext(Qt::WindowShortcut);
    // The shortcut works wherever the keyboard is in either window, the text boxes included.
    form.addAction(showAction_);
    window_->addAction(showAction_);
    contextMenu_->addAction(showAction_);
    // Only the user's opening and closing is stored: not the start's reopening, nor the
    // closing of every window as the program ends.
    QObject::connect(showAction_, &QAction::triggered, &connections_, [this](bool checked) {
        setOpen(checked);
        storeOpen();
    });
    window_->onClosed = [this] {
        if (form_.unloaded())
            return;
        open_ = false;
        keepUsersSize();
        forget();
        showAction_->setChecked(false);
        storeOpen();
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
        place();
        window_->show();
        loadField(1);
        loadField(2);
        refresh();
    } else if (!open && open_) {
        open_ = false;
        keepUsersSize();
        window_->hide();
        forget();
    }
    showAction_->setChecked(open);
}

void LivePreview::storeOpen()
{
    WriteSetting(form_.platform(), SettingKeys::Preview, open_ ? QStringLiteral("True") : QStringLiteral("False"));
}

void LivePreview::place()
{
    const QRect mainFrame = form_.frameGeometry();
    // The preview has no frame before it is first shown; the main window's is a fair guess.
    const QSize frameMargins = mainFrame.size() - form_.size();
    const QScreen* screen = form_.screen();
    const QRect frame = PreviewFrame(mainFrame, preferredSize_ + frameMargins, window_->minimumSize() + frameMargins,
                                     screen ? screen->availableGeometry() : mainFrame);
    placedSize_ = frame.size() - frameMargins;
    window_->resize(placedSize_);
    window_->move(frame.topLeft());
}

void LivePreview::keepUsersSize()
{
    // A size the user gave the preview is the one it opens at from now on.
    if (window_->size() != placedSize_)
        preferredSize_ = window_->size();
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
        const PreviewPictures::Field& picture = pictures_.field(field);
        if (picture.loading) {
            // Neither the blend of the pictures before nor what was wrong with them holds now.
            window_->showMessage(LoadingLine(picture.path));
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
