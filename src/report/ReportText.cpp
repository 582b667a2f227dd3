#include "report/ReportText.h"

QString ProcedureIdentity(const QString& procedure)
{
    return QStringLiteral("in Corvasse2021/08/31.Form1.") + procedure + QLatin1Char(' ');
}

QString ReportText(const QString& description, const QString& identity, int line)
{
    return description + QStringLiteral("\r\n") + identity + QStringLiteral("at line ")
           + QString::number(line) + QStringLiteral("\r\r")
           + QStringLiteral("Please email screenshot of this message to ")
           + QLatin1String(SupportAddress);
}
