#include "platform/LibraryWarnings.h"

#include <QLoggingCategory>
#include <QString>

void KeepLibraryWarningsOffTheTerminal()
{
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false\n*.info=false\n*.warning=false"));
}
