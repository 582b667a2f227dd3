#include "app/Form1.h"
#include "app/Settings.h"

#include "inputs/AddFolder.h"
#include "platform/FileSystem.h"
#include "report/Trap.h"

namespace {

QString trueOrFalse(bool on)
{
    return on ? QStringLiteral("True") : QStringLiteral("False");
}

// Both save options keep the store and the folder controls in step with the selection; the
// two keys are always written together, "Option5" first.
void saveOptionSelected(Form1& form)
{
    WriteSetting(form.platform(), SettingKeys::SaveInOutputFolder, trueOrFalse(form.Option5->isChecked()));
    WriteSetting(form.platform(), SettingKeys::SaveBesideOriginal, trueOrFalse(form.Option6->isChecked()));
    form.Frame3->setEnabled(form.Option5->isChecked());
}

// A chosen folder ends with exactly one separator, so that a root keeps its single one.
QString withTrailingSeparator(const QString& folder)
{
    return folder.endsWith(NativePaths.separator) ? folder : folder + NativePaths.separator;
}

} // namespace

void Form1::Option5_Click()
{
    saveOptionSelected(*this);
}

void Form1::Option6_Click()
{
    saveOptionSelected(*this);
}

void Form1::PushButton5_Click()
{
    Trap trap(platform(), this, QStringLiteral("PushButton5_Click"));
    QString folder;
    trap.line(100, [&] {
        // The browser opens at the folder the results go to now, when there is one.
        const QString start = FolderExists(Text4->text()) ? Text4->text() : QString();
        folder = PickFolder(platform(), this, QStringLiteral("Save To This Folder"), start);
    });
    if (folder.isEmpty())
        return;
    trap.line(102, [&] { WriteSetting(platform(), SettingKeys::LastFolder, folder); });
    trap.line(104, [&] { Text4->setText(withTrailingSeparator(folder)); });
}
