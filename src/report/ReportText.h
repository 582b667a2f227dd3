#pragma once

#include <QString>

// The address that a report asks the user to mail its screenshot to.
inline constexpr char SupportAddress[] = "support@orlenby.example";

// The identity of a trapped procedure of the main window, as its reports name it.
QString ProcedureIdentity(const QString& procedure);

// The fixed form of a failure report: description, CR LF, identity, "at line ", the line,
// two bare CRs and the request for a screenshot.
QString ReportText(const QString& description, const QString& identity, int line);
