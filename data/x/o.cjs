/* Vantelle skin: a Qt style sheet applied to the main window and its controls.
   Light surfaces, white cards for the groups, one blue accent for everything that acts.
   Fonts and sizes stay the window's own, so no caption outgrows its control. */

QWidget#Form1 {
    background-color: #eef1f6;
}

QGroupBox {
    background-color: #ffffff;
    border: 1px solid #cfd6e1;
    border-radius: 6px;
    margin-top: 7px;
    color: #1f3b66;
}

QGroupBox::title {
    subcontrol-origin: margin;
    subcontrol-position: top left;
    left: 9px;
    padding: 0px 4px;
    background-color: #ffffff;
    color: #1f5fbf;
}

/* The frame around the output folder belongs to its option: no card of its own. */
QGroupBox#Frame3 {
    border: none;
    margin-top: 0px;
    background-color: #ffffff;
}

QGroupBox:disabled, QGroupBox::title:disabled {
    color: #98a2b3;
}

QRadioButton {
    background-color: #ffffff;
    color: #1f2a3c;
    spacing: 6px;
}

QRadioButton:disabled {
    color: #98a2b3;
}

QRadioButton::indicator {
    width: 12px;
    height: 12px;
    border: 1px solid #8796ab;
    border-radius: 7px;
    background-color: #ffffff;
}

QRadioButton::indicator:hover {
    border-color: #1f5fbf;
}

QRadioButton::indicator:checked {
    border-color: #1f5fbf;
    background-color: qradialgradient(cx: 0.5, cy: 0.5, radius: 0.5, fx: 0.5, fy: 0.5,
                                      stop: 0 #1f5fbf, stop: 0.55 #1f5fbf,
                                      stop: 0.65 #ffffff, stop: 1 #ffffff);
}

/* The focus marks: a 2px dark ring on the focused control. Where a border grows, the size
   or padding shrinks by as much, so nothing moves. */
QRadioButton::indicator:focus {
    width: 10px;
    height: 10px;
    border: 2px solid #0b2a5c;
}

QLineEdit {
    background-color: #ffffff;
    color: #1f2a3c;
    border: 1px solid #b9c3d1;
    border-radius: 4px;
    padding: 0px 5px;
    selection-background-color: #1f5fbf;
    selection-color: #ffffff;
}

QLineEdit:focus {
    border: 2px solid #1f5fbf;
    padding: 0px 4px;
}

QLineEdit:disabled {
    background-color: #f3f5f8;
    color: #98a2b3;
    border-color: #dde2ea;
}

QPushButton {
    background-color: #1f5fbf;
    color: #ffffff;
    border: 1px solid #1a52a6;
    border-radius: 5px;
    padding: 0px 6px;
}

QPushButton:hover {
    background-color: #2a6fd6;
}

QPushButton:pressed {
    background-color: #184c99;
}

QPushButton:focus {
    border: 2px solid #0b2a5c;
    padding: 0px 5px;
}

QPushButton:disabled {
    background-color: #b7c4d8;
    border-color: #b7c4d8;
    color: #eef1f6;
}

QScrollBar:horizontal {
    background-color: #e3e8f0;
    border: 1px solid #cfd6e1;
    border-radius: 5px;
    height: 21px;
    margin: 0px;
}

QScrollBar::handle:horizontal {
    background-color: #1f5fbf;
    border-radius: 4px;
    min-width: 28px;
    margin: 3px;
}

QScrollBar::handle:horizontal:hover {
    background-color: #2a6fd6;
}

QScrollBar::add-line:horizontal, QScrollBar::sub-line:horizontal {
    width: 0px;
    border: none;
    background: none;
}

QScrollBar::add-page:horizontal, QScrollBar::sub-page:horizontal {
    background: none;
}

/* The ring around the focused scroll bar, which draws no focus of its own. */
QFocusFrame {
    border: 2px solid #0b2a5c;
    border-radius: 7px;
}
