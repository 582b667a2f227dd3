#pragma once

#include <QString>

// Message texts keep their bare carriage returns; only the display turns "\r\n" and "\r"
// into line breaks.
QString DisplayedMessageText(const QString& text);
