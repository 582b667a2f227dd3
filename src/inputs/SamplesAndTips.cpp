#include "app/Form1.h"

void Form1::PushButton4_Click() {}
void Form1::PushButton7_Click() {}
