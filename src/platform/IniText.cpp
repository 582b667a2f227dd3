#include "platform/IniText.h"

#include <QString>
#include <QStringDecoder>
#include <QStringView>

namespace {

bool isControl(QChar c)
{
    return c.unicode() < 0x20 && c != u'\t' && c != u'\r' && c != u'\n';
}

bool isCleanLine(QStringView line)
{
    const QStringView entry = line.trimmed();
    if (entry.isEmpty() || entry.startsWith(u';') || entry.startsWith(u'#'))
        return true;
    if (entry.startsWith(u'['))
        return entry.endsWith(u']');
    return entry.indexOf(u'=') > 0;
}

} // namespace

bool IsCleanIniText(const QByteArray& text)
{
    // The decoder drops a byte-order mark at the start.
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString decoded = utf8(text);
    if (utf8.hasError())
        return false;
    for (const QChar c : decoded) {
        if (isControl(c))
            return false;
    }
    for (const QStringView line : QStringView(decoded).tokenize(u'\n')) {
        if (!isCleanLine(line))
            return false;
    }
    return true;
}
