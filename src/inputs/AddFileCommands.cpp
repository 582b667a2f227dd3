#include "app/Form1.h"

#include "inputs/OpenFileFilter.h"
#include "platform/FileSystem.h"
#include "platform/FolderChoice.h"
#include "report/Trap.h"

#include <QDir>
#include <QFileInfo>

namespace {

// The title speaks of several files, but the dialog lets the user choose one: a field holds
// exactly one path.
const char* const AddFileTitle = "Add File(s) - Hold Ctrl or Shift to select multiple files";
// The designed entry first, so the dialog opens with it; then every type the loader reads
// (it goes by the content, so PNG and the ".jpe" name work too) and everything, for pictures
// whose names do not tell their type.
const char* const AddFileFilter =
    "Supported Image Files (*.bmp;*.dib;*.gif;*.jpg;*.jpeg)|*.bmp;*.dib;*.gif;*.jpg;*.jpeg|"
    "All Readable Images|*.bmp;*.dib;*.gif;*.jpg;*.jpeg;*.jpe;*.png|"
    "All Files|*|";

// The folder of the picture a field names, or empty text when it names none.
QString folderOfPicture(const QString& fieldText)
{
    return fieldText.isEmpty() ? QString() : QFileInfo(QDir::fromNativeSeparators(fieldText)).absolutePath();
}

// Fills one picture field from the Open-file dialog. The dialog always opens with an empty
// name box, in the folder of the field's picture, else where the last chosen picture was,
// else in the Pictures folder. A cancel (an empty answer) leaves the field as it was.
void addFile(Form1& form, QLineEdit* field, const char* procedure)
{
    Trap trap(form.platform(), &form, QString::fromLatin1(procedure));
    QString fileName;
    trap.line(100, [&] {
        const QString start = FirstExistingFolder(
            {folderOfPicture(field->text()), form.lastPictureFolder, form.platform().PicturesFolder()}, FolderExists);
        fileName = form.platform().GetOpenFileName(&form, QString::fromLatin1(AddFileTitle), QDir::toNativeSeparators(start),
                                                   QtFileFilter(QString::fromLatin1(AddFileFilter)));
    });
    if (!fileName.isEmpty())
        trap.line(102, [&] {
            form.lastPictureFolder = folderOfPicture(fileName);
            field->setText(QDir::toNativeSeparators(fileName));
        });
}

} // namespace

void Form1::PushButton1_Click()
{
    addFile(*this, Text1, "PushButton1_Click");
}

void Form1::PushButton3_Click()
{
    addFile(*this, Text2, "PushButton3_Click");
}
