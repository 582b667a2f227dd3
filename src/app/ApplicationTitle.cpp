#include "app/ApplicationTitle.h"

namespace {

constexpr qsizetype TitleLengthLimit = 40;

} // namespace

QString ApplicationTitle(const QString& productTitle)
{
    QString title = productTitle;
    do {
        const qsizetype space = title.lastIndexOf(QLatin1Char(' '));
        if (space < 0)
            break;
        title.truncate(space);
    } while (title.size() > TitleLengthLimit);
    return title;
}
