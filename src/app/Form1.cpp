#include "app/Form1.h"

#include "app/BackColor.h"
#include "app/ControlNames.h"
#include "app/EnterKey.h"
#include "app/FocusMark.h"
#include "app/ExportCommand.h"
#include "app/LivePreview.h"
#include "app/Twips.h"
#include "app/PictureDrop.h"
#include "app/ScrollBarKeys.h"

#include <QCloseEvent>
#include <QEvent>
#include <QScreen>

namespace {

QFont windowFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(9);
    font.setBold(true);
    return font;
}

QFont buttonFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(11.25);
    font.setBold(true);
    return font;
}

QGroupBox* frame(const QString& caption, QWidget* parent, const QRect& place)
{
    auto* box = new QGroupBox(caption, parent);
    box->setGeometry(place);
    SetBackColor(box, Qt::white);
    return box;
}

OptionButton* option(const QString& caption, QWidget* parent, const QRect& place)
{
    auto* button = new OptionButton(caption, parent);
    button->setGeometry(place);
    // Buttons fill their background with the button colour; an option shows the window's.
    button->setBackgroundRole(QPalette::Window);
    SetBackColor(button, Qt::white);
    return button;
}

QLineEdit* textBox(QWidget* parent, const QRect& place)
{
    auto* box = new QLineEdit(parent);
    box->setGeometry(place);
    return box;
}

QPushButton* pushButton(const QString& caption, QWidget* parent, const QRect& place)
{
    auto* button = new QPushButton(caption, parent);
    button->setGeometry(place);
    button->setFont(buttonFont());
    SetFaceColor(button, Qt::white);
    return button;
}

QScrollBar* scrollBar(QWidget* parent, const QRect& place, int value)
{
    auto* bar = new QScrollBar(Qt::Horizontal, parent);
    bar->setGeometry(place);
    // The canvas width from the start, as every job sets it: a band start chosen before the
    // first job must not be lowered to the width, which would leave no fade at all.
    bar->setRange(0, Canvas::Width);
    bar->setSingleStep(1);
    bar->setPageStep(20);
    bar->setValue(value);
    bar->setFocusPolicy(Qt::StrongFocus); // the keyboard can move the blend start
    MoveWithKeysAsPointed(bar);
    return bar;
}

} // namespace

Form1::Form1(Platform& platform, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                          | Qt::WindowCloseButtonHint),
      platform_(platform)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Form1"));
    setFixedSize(Pixels(8040), Pixels(6975));
    setFont(windowFont());
    SetBackColor(this, Qt::white);
    buildControls();
    connectHandlers();
    preview_ = std::make_unique<LivePreview>(*this);
    export_ = std::make_unique<ExportCommand>(*this, *preview_);
}

Form1::~Form1() = default;

void Form1::buildControls()
{
    Frame1 = frame(QStringLiteral("Blend Option"), this, TwipsRect(120, 4740, 7800, 735));
    Option1 = option(QStringLiteral("Blend Left"), Frame1, TwipsRect(240, 300, 1365, 285));
    Option2 = option(QStringLiteral("Blend Right"), Frame1, TwipsRect(1680, 300, 1365, 285));
    Option3 = option(QStringLiteral("Blend Top"), Frame1, TwipsRect(3330, 300, 1365, 285));
    Option4 = option(QStringLiteral("Blend Bottom"), Frame1, TwipsRect(4905, 300, 1545, 285));
    PushButton2 = pushButton(QStringLiteral("Start Blending Two Image"), this, TwipsRect(120, 6450, 7800, 405));
    PushButton4 = pushButton(QStringLiteral("Help"), this, TwipsRect(120, 120, 7800, 405));
    Frame2 = frame(QStringLiteral("Blend Size"), this, TwipsRect(120, 5535, 7800, 800));
    hStart = scrollBar(Frame2, TwipsRect(240, 300, 7335, 345), 0);
    Frame4 = frame(QStringLiteral("Image #1"), this, TwipsRect(120, 600, 7800, 800));
    Text1 = textBox(Frame4, TwipsRect(240, 300, 6585, 345));
    PushButton1 = pushButton(QStringLiteral("..."), Frame4, TwipsRect(6960, 300, 600, 345));
    Frame5 = frame(QStringLiteral("Image #2"), this, TwipsRect(120, 1485, 7800, 800));
    Text2 = textBox(Frame5, TwipsRect(240, 300, 6585, 345));
    PushButton3 = pushButton(QStringLiteral("..."), Frame5, TwipsRect(6960, 300, 600, 345));
    PushButton7 = pushButton(QStringLiteral("Load Sample/Example Files"), this, TwipsRect(120, 2400, 7800, 405));
    Frame6 = frame(QStringLiteral("Save Option"), this, TwipsRect(120, 2860, 7800, 1815));
    Option6 = option(QStringLiteral("Save results in folder of original file"), Frame6, TwipsRect(240, 1410, 3615, 255));
    Option5 = option(QStringLiteral("Save results to this folder:"), Frame6, TwipsRect(240, 300, 3615, 255));
    Frame3 = frame(QString(), Frame6, TwipsRect(480, 510, 6840, 810));
    Text4 = textBox(Frame3, TwipsRect(240, 300, 5670, 345));
    PushButton5 = pushButton(QStringLiteral("..."), Frame3, TwipsRect(6000, 300, 600, 345));
    // Outside the client area, never shown; only its maximum is ever set.
    hEnd = scrollBar(this, TwipsRect(240, 9405, 10875, 255), Canvas::Width);
    hEnd->hide();

    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Frame3->setObjectName(QStringLiteral("Frame3"));
    Frame4->setObjectName(QStringLiteral("Frame4"));
    Frame5->setObjectName(QStringLiteral("Frame5"));
    Frame6->setObjectName(QStringLiteral("Frame6"));
    Option1->setObjectName(QStringLiteral("Option1"));
    Option2->setObjectName(QStringLiteral("Option2"));
    Option3->setObjectName(QStringLiteral("Option3"));
    Option4->setObjectName(QStringLiteral("Option4"));
    Option5->setObjectName(QStringLiteral("Option5"));
    Option6->setObjectName(QStringLiteral("Option6"));
    Text1->setObjectName(QStringLiteral("Text1"));
    Text2->setObjectName(QStringLiteral("Text2"));
    Text4->setObjectName(QStringLiteral("Text4"));
    PushButton1->setObjectName(QStringLiteral("PushButton1"));
    PushButton2->setObjectName(QStringLiteral("PushButton2"));
    PushButton3->setObjectName(QStringLiteral("PushButton3"));
    PushButton4->setObjectName(QStringLiteral("PushButton4"));
    PushButton5->setObjectName(QStringLiteral("PushButton5"));
    PushButton7->setObjectName(QStringLiteral("PushButton7"));
    hStart->setObjectName(QStringLiteral("hStart"));
    hEnd->setObjectName(QStringLiteral("hEnd"));

    Option5->setChecked(true);

    const QWidget* tabOrder[] = {Option1, Option2, Option3, Option4, PushButton2, PushButton4,
                                 hStart, Text1, PushButton1, Text2, PushButton3, PushButton7,
                                 Option6, Option5, Text4, PushButton5};
    for (std::size_t i = 1; i < std::size(tabOrder); ++i)
        setTabOrder(const_cast<QWidget*>(tabOrder[i - 1]), const_cast<QWidget*>(tabOrder[i]));

    MarkFocusAround(hStart);
    NameControls(*this);
}

void Form1::connectHandlers()
{
    // The group rules first: a click handler must see the other options already unselected.
    MakeOptionGroup({Option1, Option2, Option3, Option4});
    MakeOptionGroup({Option5, Option6});

    const auto onSelected = [this](OptionButton* option, void (Form1::*handler)()) {
        connect(option, &QAbstractButton::toggled, this, [this, handler](bool on) {
            if (on)
                (this->*handler)();
        });
    };
    onSelected(Option1, &Form1::Option1_Click);
    onSelected(Option2, &Form1::Option2_Click);
    onSelected(Option3, &Form1::Option3_Click);
    onSelected(Option4, &Form1::Option4_Click);
    onSelected(Option5, &Form1::Option5_Click);
    onSelected(Option6, &Form1::Option6_Click);

    connect(Text1, &QLineEdit::textChanged, this, &Form1::Text1_Change);
    connect(Text2, &QLineEdit::textChanged, this, &Form1::Text2_Change);
    connect(Text4, &QLineEdit::textChanged, this, &Form1::Text4_Change);

    connect(PushButton1, &QPushButton::clicked, this, &Form1::PushButton1_Click);
    connect(PushButton2, &QPushButton::clicked, this, &Form1::PushButton2_Click);
    connect(PushButton3, &QPushButton::clicked, this, &Form1::PushButton3_Click);
    connect(PushButton4, &QPushButton::clicked, this, &Form1::PushButton4_Click);
    connect(PushButton5, &QPushButton::clicked, this, &Form1::PushButton5_Click);
    connect(PushButton7, &QPushButton::clicked, this, &Form1::PushButton7_Click);
    for (QPushButton* button : {PushButton1, PushButton2, PushButton3, PushButton4, PushButton5, PushButton7})
        PressOnEnter(button);

    // A picture file dropped on a field or its frame fills that field; two fill both fields.
    AcceptPictureDrops(Text1, {Text1, Frame4}, {Text1, Text2});
    AcceptPictureDrops(Text2, {Text2, Frame5}, {Text1, Text2});

    // Mouse moves: the window's free surface, the frames, the direction options and the
    // two picture fields show the default pointer; the push buttons show the hand.
    for (QWidget* widget : std::initializer_list<QWidget*>{this, Frame1, Frame2, Frame3, Frame4,
                                                           Frame5, Frame6, Option1, Option2,
                                                           Option3, Option4, Text1, Text2,
                                                           PushButton1, PushButton2, PushButton3,
                                                           PushButton4, PushButton5, PushButton7}) {
        widget->setMouseTracking(true);
        widget->installEventFilter(this);
    }
    // A move belongs to the control under the mouse alone. Buttons ignore plain moves, which
    // would then reach the frame around them and apply its rule instead: undo the hand over a
    // push button, or reset the pointer over a control that has no rule of its own.
    for (QWidget* control : std::initializer_list<QWidget*>{Option1, Option2, Option3, Option4, Option5,
                                                            Option6, Text1, Text2, Text4, hStart,
                                                            PushButton1, PushButton2, PushButton3,
                                                            PushButton4, PushButton5, PushButton7})
        control->setAttribute(Qt::WA_NoMousePropagation);
}

bool Form1::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseMove) {
        if (qobject_cast<QPushButton*>(watched))
            HandPointer();
        else
            ResetPointer();
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::showEvent(QShowEvent* event)
{
    if (!centred_) {
        centred_ = true;
        if (const QScreen* current = screen())
            move(current->availableGeometry().center() - frameGeometry().center() + pos());
    }
    QWidget::showEvent(event);
}

void Form1::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    event->accept();
}
