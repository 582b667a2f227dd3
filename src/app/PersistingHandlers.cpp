#include "app/Form1.h"
#include "app/Settings.h"

// Each mirrored control writes its state the moment it changes, whatever changed it: a
// keystroke, a command, or start-up restoring the stored value.

void Form1::Option1_Click() { WriteSetting(platform(), SettingKeys::Side, QStringLiteral("1")); }
void Form1::Option2_Click() { WriteSetting(platform(), SettingKeys::Side, QStringLiteral("2")); }
void Form1::Option3_Click() { WriteSetting(platform(), SettingKeys::Side, QStringLiteral("3")); }
void Form1::Option4_Click() { WriteSetting(platform(), SettingKeys::Side, QStringLiteral("4")); }

void Form1::Text1_Change() { WriteSetting(platform(), SettingKeys::Image1, Text1->text()); }
void Form1::Text2_Change() { WriteSetting(platform(), SettingKeys::Image2, Text2->text()); }
void Form1::Text4_Change() { WriteSetting(platform(), SettingKeys::OutputFolder, Text4->text()); }
