#pragma once

#include <QString>

// Text that reaches a terminal or a message box, with every character that would act instead
// of showing written out: a file may be named with a terminal's escape sequences, a bell or a
// line break, which would rewrite the line it is shown on, or with the marks that turn text
// around. Those characters become \a \b \t \n \v \f \r \e, the other control characters \xHH,
// and the line and paragraph separators and direction marks \uHHHH; everything else, the
// backslash included, stays as it is.
QString EscapeControlCharacters(const QString& text);
