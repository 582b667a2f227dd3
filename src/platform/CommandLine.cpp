#include "platform/CommandLine.h"

#include "platform/ControlCharacters.h"

#include <cstdio>

namespace {

CommandLine refused(const QString& error)
{
    CommandLine line;
    line.error = error;
    return line;
}

bool isOption(const QString& argument)
{
    return argument.size() > 1 && argument.startsWith(QLatin1Char('-'));
}

} // namespace

CommandLine ReadCommandLine(const QStringList& arguments, const QStringList& valueOptions)
{
    CommandLine line;
    for (const QString& argument : arguments) {
        if (argument == QLatin1String("--"))
            break;
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h"))
            line.help = true;
        else if (argument == QLatin1String("--version"))
            line.version = true;
    }
    if (line.help || line.version)
        return line;

    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (optionsEnded || !isOption(argument)) {
            line.names << argument;
            continue;
        }
        if (argument == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        const qsizetype equals = argument.indexOf(QLatin1Char('='));
        const QString name = equals < 0 ? argument : argument.left(equals);
        if (!valueOptions.contains(name))
            return refused(QStringLiteral("unknown option %1").arg(name));
        QString value;
        if (equals >= 0)
            value = argument.mid(equals + 1);
        else if (i + 1 == arguments.size())
            return refused(QStringLiteral("%1 needs a value").arg(name));
        else
            value = arguments[++i];
        line.options.emplace_back(name, value);
    }
    return line;
}

std::optional<int> AnswerCommandLine(const char* program, const char* version, bool help, bool wantsVersion,
                                     const QString& error, const QString& usage)
{
    if (help) {
        std::fputs(usage.toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (wantsVersion) {
        std::printf("%s %s\n", program, version);
        return 0;
    }
    if (!error.isEmpty()) {
        std::fprintf(stderr, "%s: %s (try --help)\n", program,
                     EscapeControlCharacters(error).toLocal8Bit().constData());
        return 2;
    }
    return std::nullopt;
}
