#include "app/Form1.h"

#include "inputs/OpenFileFilter.h"
#include "report/Trap.h"

#include <QDir>

namespace {

// The title speaks of several files, but the dialog lets the user choose one: a field holds
// exactly one path.
const char* const AddFileTitle = "Add File(s) - Hold Ctrl or Shift to select multiple files";
const char* const AddFileFilter =
    "Supported Image Files (*.bmp;*.dib;*.gif;*.jpg;*.jpeg)|*.bmp;*.dib;*.gif;*.jpg;*.jpeg|";

// Fills one picture field from the Open-file dialog. The dialog always opens with an empty
// name box; a cancel (an empty answer) leaves the field as it was.
void AddFile(Form1& form, QLineEdit* field, const char* procedure)
{
    Trap trap(form.platform(), &form, QString::fromLatin1(procedure));
    QString fileName;
    trap.line(100, [&] {
        fileName = form.platform().GetOpenFileName(&form, QString::fromLatin1(AddFileTitle),
                                                   QtFileFilter(QString::fromLatin1(AddFileFilter)));
    });
    if (!fileName.isEmpty())
        trap.line(102, [&] { field->setText(QDir::toNativeSeparators(fileName)); });
}

} // namespace

void Form1::PushButton1_Click()
{
    AddFile(*this, Text1, "PushButton1_Click");
}

void Form1::PushButton3_Click()
{
    AddFile(*this, Text2, "PushButton3_Click");
}
