#include "cli/BlendArguments.h"

#include "engine/Canvas.h"
#include "job/ResultWriter.h"
#include "platform/CommandLine.h"
#include "platform/FileSystem.h"

#include <QFile>

namespace {

std::optional<BlendArguments::Side> sideNamed(const QString& name)
{
    if (name == QLatin1String("left"))
        return BlendArguments::Side::Left;
    if (name == QLatin1String("right"))
        return BlendArguments::Side::Right;
    if (name == QLatin1String("top"))
        return BlendArguments::Side::Top;
    if (name == QLatin1String("bottom"))
        return BlendArguments::Side::Bottom;
    return std::nullopt;
}

ParsedBlendCommand refused(const QString& error)
{
    return {std::nullopt, false, false, error};
}

} // namespace

ParsedBlendCommand ParseBlendArguments(const QStringList& arguments)
{
    const CommandLine line =
        ReadCommandLine(arguments, {QStringLiteral("--side"), QStringLiteral("--start")});
    if (line.help || line.version)
        return {std::nullopt, line.help, line.version, {}};
    if (!line.error.isEmpty())
        return refused(line.error);

    BlendArguments result;
    for (const auto& [name, value] : line.options) {
        if (name == QLatin1String("--side")) {
            const std::optional<BlendArguments::Side> side = sideNamed(value);
            if (!side)
                return refused(QStringLiteral("--side must be left, right, top or bottom, not \"%1\"").arg(value));
            result.side = *side;
        } else {
            bool whole = false;
            const int start = value.toInt(&whole);
            if (!whole || start < 0 || start > Canvas::Width)
                return refused(QStringLiteral("--start must be a whole number from 0 to %1, not \"%2\"")
                                   .arg(Canvas::Width)
                                   .arg(value));
            result.start = start;
        }
    }
    const QStringList& files = line.names;
    if (files.size() != 3)
        return refused(QStringLiteral("expected PICTURE1 PICTURE2 OUTPUT, got %1 file name%2")
                           .arg(files.size())
                           .arg(files.size() == 1 ? "" : "s"));
    result.picture1 = files[0];
    result.picture2 = files[1];
    result.output = files[2];
    return {result, false, false, {}};
}

QString BlendUsage()
{
    return QStringLiteral(
        "Usage: vantelle-blend [--side left|right|top|bottom] [--start N] PICTURE1 PICTURE2 OUTPUT\n"
        "\n"
        "Blends two pictures as Vantelle's start button does: both are stretched to 729 x 425,\n"
        "and the second fades in over the first from the band start towards the far side.\n"
        "\n"
        "  --side SIDE   left (default): PICTURE1 on the left, fading into PICTURE2 to the right;\n"
        "                right: the pictures swapped; top and bottom: the same downwards.\n"
        "  --start N     where the fade begins, in pixels from 0 (default) to 729.\n"
        "  -h, --help    show this text.\n"
        "  --version     show the program's version.\n"
        "\n"
        "OUTPUT ending in .jpg is written as JPEG at quality 100 with full colour resolution,\n"
        "ending in .bmp as a Windows bitmap. An existing OUTPUT is replaced only by a complete\n"
        "new file. Exit status: 0 done, 1 the blend failed, 2 a wrong command line.\n");
}

void RefuseUndecodableNames(const BlendArguments& arguments, const QList<QByteArray>& argv)
{
#ifdef Q_OS_WIN
    Q_UNUSED(arguments);
    Q_UNUSED(argv);
#else
    // A name that came through whole encodes back to one of the arguments as given.
    const auto lost = [&argv](const QString& name) { return !argv.contains(QFile::encodeName(name)); };
    for (const QString& picture : {arguments.picture1, arguments.picture2}) {
        if (lost(picture))
            throw PictureLoadFailure(FailureNumber::BadFileName, picture, UndecodableNameReason());
    }
    if (lost(arguments.output))
        FailWriting(arguments.output, FailureNumber::BadFileName, UndecodableNameReason());
#endif
}
