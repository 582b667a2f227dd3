#include "app/JobOutputFolder.h"

#include "app/Form1.h"
#include "job/PathRoutines.h"

#include <QDir>
#include <QFileInfo>

std::optional<QString> JobOutputFolder(const Form1& form)
{
    if (form.Option5->isChecked())
        return form.Text4->text();
    if (form.Option6->isChecked()) {
        const QString picture = form.Text1->text();
        if (picture.isEmpty())
            return std::nullopt;
        return ParentFolder(QDir::toNativeSeparators(QFileInfo(picture).absoluteFilePath()));
    }
    return std::nullopt;
}
