#pragma once

class QPushButton;

// Makes Return and the keypad's Enter press the button while it has the focus, as Space
// does. Qt gives buttons that only inside dialogs.
void PressOnEnter(QPushButton* button);
