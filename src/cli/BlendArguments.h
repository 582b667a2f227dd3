#pragma once

#include "engine/PictureFit.h"
#include "job/ExportBlend.h"
#include "job/ExportFormat.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The command line of vantelle-blend:
//   vantelle-blend [--side left|right|top|bottom] [--start N] [--size WIDTHxHEIGHT|first|second|window]
//                  [--fit stretch|cover] [--quality N] PICTURE1 PICTURE2 OUTPUT
struct BlendArguments {
    // As the four blend options of the window: picture #1 is the base for left and top.
    enum class Side { Left, Right, Top, Bottom };
    Side side = Side::Left;
    int start = 0; // the band start, 0 to the canvas width
    ExportSize size;
    PictureFit fit = PictureFit::Stretch;
    int quality = DefaultExportQuality;
    QString picture1;
    QString picture2;
    QString output;
};

struct ParsedBlendCommand {
    std::optional<BlendArguments> arguments; // set when the command line asks for a blend
    bool help = false;                       // --help or -h
    bool version = false;                    // --version
    QString error;                           // why the command line was refused
};

// Reads the arguments after the program name by the rules of ReadCommandLine: a request for
// help or the version wins over any error.
ParsedBlendCommand ParseBlendArguments(const QStringList& arguments);

QString BlendUsage();

// The file names as the system handed them over: a name whose bytes are not valid UTF-8
// reaches the program with those bytes replaced, and would open or write another file or
// none. Such a name is refused: throws Failure naming the file and the reason. `argv` holds
// the arguments after the program name. On Windows the arguments arrive as UTF-16, whole.
void RefuseUndecodableNames(const BlendArguments& arguments, const QList<QByteArray>& argv);
