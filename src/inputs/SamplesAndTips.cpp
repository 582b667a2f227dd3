#include "app/Form1.h"

#include "platform/FileSystem.h"
#include "report/Trap.h"

namespace {

const char* const TipText = "To prevent images from being cropped:\r\r"
                            "1. All images must be the same pixel dimension (height and width)\r\r"
                            "2. The first image must be larger than the second image.";

} // namespace

void Form1::PushButton7_Click()
{
    Trap trap(platform(), this, QStringLiteral("PushButton7_Click"));
    trap.line(100, [&] { Text1->setText(ProgramFilePath(platform().ProgramFolder(), {"Samples", "sample1.jpg"})); });
    trap.line(102, [&] { Text2->setText(ProgramFilePath(platform().ProgramFolder(), {"Samples", "sample2.jpg"})); });
}

void Form1::PushButton4_Click()
{
    Trap trap(platform(), this, QStringLiteral("PushButton4_Click"));
    trap.line(100, [&] { platform().MsgBox(this, QString::fromLatin1(TipText), MsgBoxStyle::OkOnly, QString()); });
}
