// vantelle-blend: the blend job without the window, for scripts.
#include "cli/BlendArguments.h"
#include "cli/BlendRun.h"
#include "cli/TerminalProgress.h"
#include "engine/Canvas.h"
#include "platform/CommandLine.h"
#include "platform/LibraryWarnings.h"
#include "codecs/PictureDecoder.h"
#include "report/Trap.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

// The failure's description has its control characters escaped, so it stays one line.
void printLine(std::FILE* stream, const QString& text)
{
    std::fprintf(stream, "vantelle-blend: %s\n", text.toLocal8Bit().constData());
}

} // namespace

int main(int argc, char* argv[])
{
    KeepLibraryWarningsOffTheTerminal();
    // No display: the core application loads no window system.
    QCoreApplication app(argc, argv);

    const ParsedBlendCommand command = ParseBlendArguments(app.arguments().mid(1));
    if (const std::optional<int> status = AnswerCommandLine("vantelle-blend", VANTELLE_VERSION, command.help,
                                                            command.version, command.error, BlendUsage()))
        return *status;
    try {
        RefuseUndecodableNames(*command.arguments, QList<QByteArray>(argv + 1, argv + argc));
        PictureFileLoader loader(QSize(Canvas::Width, Canvas::Height));
        TerminalProgress progress(stderr);
        ExportControl control;
        control.progress = [&progress](double done) { progress.show(done); };
        RunBlend(loader, *command.arguments, control);
    } catch (...) {
        printLine(stderr, FailureDescription(std::current_exception()));
        return 1;
    }
    return 0;
}
