#pragma once

#include <QString>

// Turns a filter written as "Description|patterns|Description|patterns|" (patterns separated
// by ";") into the form Qt's file dialogs take: "Description (p1 p2);;Description (p3)". A
// pattern list in parentheses at the end of a description is replaced by the entry's own
// patterns, so the dialog shows and applies the same list. A closing "|" adds no entry.
QString QtFileFilter(const QString& filter);
