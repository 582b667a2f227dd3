#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <utility>
#include <vector>

// What a command line holds, read by the rules both programs share: options may come
// anywhere and take their value as the next argument or after "="; "--" ends the options, for
// names that begin with "-"; a lone "-" is a name. --help (or -h) and --version are answered
// whatever else the line holds, help first, so a user who asks for them is never refused.
struct CommandLine {
    bool help = false;
    bool version = false;
    std::vector<std::pair<QString, QString>> options; // name and value, in the order given
    QStringList names;                                // the arguments that are not options
    QString error;                                    // why the line cannot be read; empty when it can
};

// Reads the arguments after the program's name. valueOptions names the options that take a
// value ("--side"); any other option is refused.
CommandLine ReadCommandLine(const QStringList& arguments, const QStringList& valueOptions);

// What a program answers before it starts its work: the usage for --help, "PROGRAM VERSION"
// for --version (both on standard output, exit status 0), and for a refused line one line on
// standard error (exit status 2). Nothing when the work is to start.
std::optional<int> AnswerCommandLine(const char* program, const char* version, bool help, bool wantsVersion,
                                     const QString& error, const QString& usage);
