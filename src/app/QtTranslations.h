#pragma once

#include <QLocale>
#include <QTranslator>

#include <memory>

// Qt's own texts (the buttons of the message boxes, the file dialogs) in the language of the
// locale, from the translations installed with Qt; null when none is installed for it. The
// program's own texts are not translated.
std::unique_ptr<QTranslator> QtTranslationsFor(const QLocale& locale);
