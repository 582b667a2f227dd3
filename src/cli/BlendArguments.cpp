#include "cli/BlendArguments.h"

#include "engine/Canvas.h"
#include "job/ResultWriter.h"
#include "platform/CommandLine.h"
#include "platform/FileSystem.h"

#include "codecs/DecoderBudget.h"

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

std::optional<PictureFit> fitNamed(const QString& name)
{
    if (name == QLatin1String("stretch"))
        return PictureFit::Stretch;
    if (name == QLatin1String("cover"))
        return PictureFit::Cover;
    return std::nullopt;
}

// A whole number from `least` to `most`.
std::optional<int> wholeNumber(const QString& text, int least, int most)
{
    bool whole = false;
    const int value = text.toInt(&whole);
    if (!whole || value < least || value > most)
        return std::nullopt;
    return value;
}

} // namespace

ParsedBlendCommand ParseBlendArguments(const QStringList& arguments)
{
    const CommandLine line =
        ReadCommandLine(arguments, {QStringLiteral("--side"), QStringLiteral("--start"), QStringLiteral("--size"),
                                    QStringLiteral("--fit"), QStringLiteral("--quality")});
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
        } else if (name == QLatin1String("--size")) {
            const std::optional<ExportSize> size = ExportSizeFromText(value);
            if (!size)
                return refused(QStringLiteral("--size must be WIDTHxHEIGHT (at least 1x1, fewer than %1 pixels), "
                                              "first, second or window, not \"%2\"")
                                   .arg(MostPicturePixels)
                                   .arg(value));
            result.size = *size;
        } else if (name == QLatin1String("--fit")) {
            const std::optional<PictureFit> fit = fitNamed(value);
            if (!fit)
                return refused(QStringLiteral("--fit must be stretch or cover, not \"%1\"").arg(value));
            result.fit = *fit;
        } else if (name == QLatin1String("--quality")) {
            const std::optional<int> quality = wholeNumber(value, 1, 100);
            if (!quality)
                return refused(QStringLiteral("--quality must be a whole number from 1 to 100, not \"%1\"").arg(value));
            result.quality = *quality;
        } else {
            const std::optional<int> start = wholeNumber(value, 0, Canvas::Width);
            if (!start)
                return refused(QStringLiteral("--start must be a whole number from 0 to %1, not \"%2\"")
                                   .arg(Canvas::Width)
                                   .arg(value));
            result.start = *start;
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
        "       vantelle-blend [--side SIDE] [--start N] [--size WIDTHxHEIGHT|first|second|window]\n"
        "                      [--fit stretch|cover] [--quality N] PICTURE1 PICTURE2 OUTPUT\n"
        "\n"
        "Blends two pictures as Vantelle's start button does: both are stretched to 729 x 425,\n"
        "and the second fades in over the first from the band start towards the far side.\n"
        "\n"
        "  --side SIDE   left (default): PICTURE1 on the left, fading into PICTURE2 to the right;\n"
        "                right: the pictures swapped; top and bottom: the same downwards.\n"
        "  --start N     where the fade begins, in pixels of the 729-pixel canvas from 0 (default)\n"
        "                to 729; at another size it scales with the width (left, right) or the\n"
        "                height (top, bottom).\n"
        "  --size SIZE   window (default): 729 x 425; first or second: the size of PICTURE1 or\n"
        "                PICTURE2; or WIDTHxHEIGHT in pixels, such as 6000x4000.\n"
        "  --fit FIT     stretch (default): both pictures stretched to the size; cover: each\n"
        "                scaled with its proportions kept to cover the size, centred, cut off.\n"
        "  --quality N   JPEG and WebP quality from 1 to 100 (default); WebP at 100 is lossless.\n"
        "  -h, --help    show this text.\n"
        "  --version     show the program's version.\n"
        "\n"
        "OUTPUT ending in .jpg or .jpeg is written as JPEG with full colour resolution, .png as\n"
        "PNG, .webp as WebP, .bmp as a Windows bitmap. An existing OUTPUT is replaced only by a\n"
        "complete new file. Exit status: 0 done, 1 the blend failed, 2 a wrong command line.\n");
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
