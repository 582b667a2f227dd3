#include "app/Form1.h"

void Form1::SetUpSkin() {}
void Form1::LoadHandCursor() {}
void Form1::ResetPointer() {}
void Form1::HandPointer() {}
