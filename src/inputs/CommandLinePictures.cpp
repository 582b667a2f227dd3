#include "app/Form1.h"

#include <iterator>

void Form1::OpenPictures(const QStringList& paths)
{
    // As if typed: each field's change handler stores its path for the next start. A field
    // without a path of its own keeps what start-up restored.
    QLineEdit* const fields[] = {Text1, Text2};
    for (qsizetype i = 0; i < paths.size() && i < qsizetype(std::size(fields)); ++i)
        fields[i]->setText(paths[i]);
}
