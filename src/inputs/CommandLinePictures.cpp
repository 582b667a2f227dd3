#include "app/Form1.h"

#include <iterator>

namespace {

// The left-out pictures named in the message, at most; the rest are counted.
constexpr qsizetype NamedLeftOut = 5;

QString leftOutText(const QStringList& leftOut)
{
    QString text = QStringLiteral("Only two pictures can be blended at a time. The first two named are in Image #1 "
                                  "and Image #2; these were left out:\r");
    for (qsizetype i = 0; i < leftOut.size() && i < NamedLeftOut; ++i)
        text += QLatin1Char('\r') + leftOut[i];
    if (leftOut.size() > NamedLeftOut)
        text += QStringLiteral("\rand %1 more").arg(leftOut.size() - NamedLeftOut);
    return text;
}

} // namespace

void Form1::OpenPictures(const QStringList& paths)
{
    // As if typed: each field's change handler stores its path for the next start. A field
    // without a path of its own keeps what start-up restored.
    QLineEdit* const fields[] = {Text1, Text2};
    const qsizetype fieldCount = qsizetype(std::size(fields));
    for (qsizetype i = 0; i < paths.size() && i < fieldCount; ++i)
        fields[i]->setText(paths[i]);
    // "Open With" on more pictures than there are fields: the user sees which went unused.
    if (paths.size() > fieldCount)
        platform().MsgBox(this, leftOutText(paths.mid(fieldCount)), MsgBoxStyle::OkOnly, QString());
}
