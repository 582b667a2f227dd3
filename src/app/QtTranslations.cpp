#include "app/QtTranslations.h"

#include <QLibraryInfo>

std::unique_ptr<QTranslator> QtTranslationsFor(const QLocale& locale)
{
    auto translator = std::make_unique<QTranslator>();
    // Tries each of the locale's languages in turn ("de_AT", then "de"), as Qt's own
    // applications find their catalogues.
    if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return nullptr;
    return translator;
}
