#include "app/Form1.h"

void Form1::Option5_Click() {}
void Form1::Option6_Click() {}
void Form1::PushButton5_Click() {}
