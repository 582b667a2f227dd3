#include "platform/ControlCharacters.h"

namespace {

// The characters below U+0020 that have a short escape of their own.
char shortEscapeOf(char16_t c)
{
    switch (c) {
    case 0x07:
        return 'a';
    case 0x08:
        return 'b';
    case 0x09:
        return 't';
    case 0x0a:
        return 'n';
    case 0x0b:
        return 'v';
    case 0x0c:
        return 'f';
    case 0x0d:
        return 'r';
    case 0x1b:
        return 'e';
    default:
        return 0;
    }
}

// Line and paragraph separators break a message box's line; the direction marks, embeddings,
// overrides and isolates show the rest of a name in another order than it has.
bool movesText(char16_t c)
{
    return c == 0x061c || c == 0x200e || c == 0x200f || c == 0x2028 || c == 0x2029 || (c >= 0x202a && c <= 0x202e)
           || (c >= 0x2066 && c <= 0x2069);
}

} // namespace

QString EscapeControlCharacters(const QString& text)
{
    QString shown;
    shown.reserve(text.size());
    for (const QChar character : text) {
        const char16_t c = character.unicode();
        const bool control = c < 0x20 || (c >= 0x7f && c <= 0x9f);
        if (!control && !movesText(c)) {
            shown += character;
        } else if (const char letter = shortEscapeOf(c)) {
            shown += QLatin1Char('\\');
            shown += QLatin1Char(letter);
        } else if (control) {
            shown += QStringLiteral("\\x%1").arg(unsigned(c), 2, 16, QLatin1Char('0'));
        } else {
            shown += QStringLiteral("\\u%1").arg(unsigned(c), 4, 16, QLatin1Char('0'));
        }
    }
    return shown;
}
