#include "inputs/OpenFileFilter.h"

#include <QRegularExpression>
#include <QStringList>

namespace {

// Qt reads the patterns of an entry from the last parentheses of its text, so a description
// that already names them in parentheses would otherwise carry two lists.
QString descriptionWithoutPatterns(const QString& description)
{
    static const QRegularExpression trailingList(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
    QString bare = description;
    bare.remove(trailingList);
    return bare;
}

} // namespace

QString QtFileFilter(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        entries << QStringLiteral("%1 (%2)").arg(descriptionWithoutPatterns(parts[i]),
                                                 patterns.join(QLatin1Char(' ')));
    }
    return entries.join(QStringLiteral(";;"));
}
