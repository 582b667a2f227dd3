#pragma once

class Form1;

// Names the controls whose captions do not say what they are for ("...", the bare fields and
// the scroll bar), for screen readers and as tooltips; the scroll bar also shows its value
// beside it while it moves. The designed captions stay as they are.
void NameControls(Form1& form);
