#include "app/Form1.h"
#include "app/LivePreview.h"
#include "app/QtPlatform.h"
#include "app/QtTranslations.h"
#include "app/WindowArguments.h"
#include "platform/CommandLine.h"
#include "platform/LibraryWarnings.h"

#include <QApplication>
#include <QDir>

int main(int argc, char* argv[])
{
    // The command line is read before the window system loads, so help, the version and a
    // refusal need no display. Qt's own options are not taken from it (its environment
    // variables, such as QT_QPA_PLATFORM or QT_SCALE_FACTOR, serve instead), so a picture
    // named "-style" after "--" stays a picture.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const ParsedWindowCommand command = ParseWindowArguments(arguments, QDir::currentPath());
    if (const std::optional<int> status = AnswerCommandLine("vantelle", VANTELLE_VERSION, command.help, command.version,
                                                            command.error, WindowUsage()))
        return *status;

    KeepLibraryWarningsOffTheTerminal();
    int programNameOnly = 1;
    QApplication app(programNameOnly, argv);
    // Lets the desktop match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("com.orlenby.Vantelle"));
    const std::unique_ptr<QTranslator> qtTexts = QtTranslationsFor(QLocale());
    if (qtTexts)
        QCoreApplication::installTranslator(qtTexts.get());

    QtPlatform platform;
    Form1 form(platform);
    form.Form_Load();
    form.show();
    // Over the shown window, a message about pictures left out shows what went in.
    form.OpenPictures(command.pictures);
    // Not one of the start-up steps: the preview goes beside the window, once that is placed.
    form.preview().restore();
    return app.exec();
}
