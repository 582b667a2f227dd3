#include "app/WindowArguments.h"

#include "platform/CommandLine.h"

#include <QDir>

ParsedWindowCommand ParseWindowArguments(const QStringList& arguments, const QString& currentFolder)
{
    ParsedWindowCommand command;
    const CommandLine line = ReadCommandLine(arguments, {});
    command.help = line.help;
    command.version = line.version;
    if (line.help || line.version)
        return command;
    if (!line.error.isEmpty()) {
        command.error = line.error;
        return command;
    }
    const QDir current(currentFolder);
    for (const QString& name : line.names)
        command.pictures << (name.isEmpty() ? name : QDir::toNativeSeparators(current.absoluteFilePath(name)));
    return command;
}

QString WindowUsage()
{
    return QStringLiteral(
        "Usage: vantelle [PICTURE1 [PICTURE2]]\n"
        "\n"
        "Opens Vantelle's window, which blends two pictures into one. The pictures named here\n"
        "go into the fields \"Image #1\" and \"Image #2\" as if typed there, and are kept for\n"
        "the next start like any other path typed into them. Of more than two pictures the\n"
        "first two are taken, and the window says which were left out.\n"
        "\n"
        "Ctrl+P, or \"Show Preview\" in the menu of the window's background (right click),\n"
        "opens a live preview of the blend beside the window.\n"
        "\n"
        "  -h, --help    show this text.\n"
        "  --version     show the program's version.\n"
        "\n"
        "For blending from a script without a window, see vantelle-blend --help.\n");
}
