#include "job/PathRoutines.h"

QString ParentFolder(const QString& path, QChar separator)
{
    const qsizetype last = path.lastIndexOf(separator);
    return last < 0 ? QString() : path.left(last + 1);
}

namespace {

QString withoutDoubledSeparators(QString path, QChar separator)
{
    const QString single(separator);
    return path.replace(single + single, single);
}

} // namespace

QString CleanPath(const QString& path, const PathStyle& style)
{
    if (!path.startsWith(style.separator))
        return withoutDoubledSeparators(path, style.separator);
    qsizetype rest = 0;
    while (rest < path.size() && path[rest] == style.separator)
        ++rest;
    return QString(style.leadingSeparators, style.separator)
           + withoutDoubledSeparators(path.mid(rest), style.separator);
}
