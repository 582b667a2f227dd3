#include "app/Form1.h"

void Form1::Option1_Click() {}
void Form1::Option2_Click() {}
void Form1::Option3_Click() {}
void Form1::Option4_Click() {}
void Form1::Text1_Change() {}
void Form1::Text2_Change() {}
void Form1::Text4_Change() {}
