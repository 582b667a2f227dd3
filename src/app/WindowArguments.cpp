#include "app/WindowArguments.h"

#include "platform/CommandLine.h"

#include <QDir>

namespace {

// Two pictures at most: one for each field.
constexpr qsizetype FieldCount = 2;

} // namespace

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
    if (line.names.size() > FieldCount) {
        command.error = QStringLiteral("expected at most PICTURE1 PICTURE2, got %1 file names").arg(line.names.size());
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
        "the next start like any other path typed into them.\n"
        "\n"
        "  -h, --help    show this text.\n"
        "  --version     show the program's version.\n"
        "\n"
        "For blending from a script without a window, see vantelle-blend --help.\n");
}
