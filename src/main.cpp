#include "app/Form1.h"
#include "app/QtPlatform.h"
#include "app/QtTranslations.h"
#include "app/WindowArguments.h"

#include <QApplication>
#include <QDir>

#include <cstdio>

int main(int argc, char* argv[])
{
    // Help and the version need no display, so they are answered before the window system loads.
    QStringList rawArguments;
    for (int i = 1; i < argc; ++i)
        rawArguments << QString::fromLocal8Bit(argv[i]);
    const ParsedWindowCommand request = ParseWindowArguments(rawArguments, QString());
    if (request.help) {
        std::fputs(WindowUsage().toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (request.version) {
        std::puts("vantelle " VANTELLE_VERSION);
        return 0;
    }

    QApplication app(argc, argv);
    // Qt has taken its own options (-style, -platform, ...) out of the arguments by now.
    const ParsedWindowCommand command = ParseWindowArguments(app.arguments().mid(1), QDir::currentPath());
    if (!command.error.isEmpty()) {
        std::fprintf(stderr, "vantelle: %s (try --help)\n", command.error.toLocal8Bit().constData());
        return 2;
    }
    const std::unique_ptr<QTranslator> qtTexts = QtTranslationsFor(QLocale());
    if (qtTexts)
        QCoreApplication::installTranslator(qtTexts.get());

    QtPlatform platform;
    Form1 form(platform);
    form.Form_Load();
    form.OpenPictures(command.pictures);
    form.show();
    return app.exec();
}
