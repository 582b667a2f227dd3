#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

// Both programs as a terminal or a file manager starts them. Nothing here needs a display: help
// and the version are answered, and a command line they cannot follow is refused in one line
// with status 2, before any window system is loaded.
namespace {

struct ProgramRun {
    int status;
    QString out;
    QString err;
};

ProgramRun run(const char* program, const QStringList& arguments)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("DISPLAY");
    environment.remove("WAYLAND_DISPLAY");
    environment.remove("QT_QPA_PLATFORM");
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(VANTELLE_PROGRAM_DIR_IN_BUILD "/") + QString::fromLatin1(program), arguments);
    EXPECT_TRUE(process.waitForFinished(60000)) << program;
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAllStandardOutput()),
            QString::fromLocal8Bit(process.readAllStandardError())};
}

class CommandLinesTest : public ::testing::TestWithParam<const char*> {
protected:
    QString program() const { return QString::fromLatin1(GetParam()); }
};

TEST_P(CommandLinesTest, AnswerHelpAndTheVersionWithoutADisplay)
{
    const ProgramRun help = run(GetParam(), {"--help"});
    EXPECT_EQ(help.status, 0) << help.err.toStdString();
    EXPECT_TRUE(help.out.startsWith("Usage: " + program() + " ")) << help.out.toStdString();
    EXPECT_TRUE(help.out.contains("--version"));
    EXPECT_EQ(help.err, QString());

    for (const QStringList& arguments : {QStringList{"--version"}, QStringList{"a.jpg", "--version"}}) {
        const ProgramRun version = run(GetParam(), arguments);
        EXPECT_EQ(version.status, 0) << version.err.toStdString();
        EXPECT_EQ(version.out, program() + " " VANTELLE_VERSION "\n");
        EXPECT_EQ(version.err, QString());
    }
}

TEST_P(CommandLinesTest, RefuseAnUnknownOptionOrTooManyNamesInOneLineWithoutADisplay)
{
    // The window takes any number of pictures ("Open With" on many files), the first two into
    // its fields; vantelle-blend takes exactly two pictures and an output.
    std::vector<QStringList> refusedLines = {{"--bogus", "a.jpg"}};
    if (program() == QStringLiteral("vantelle-blend"))
        refusedLines.push_back({"a", "b", "c", "d"});
    for (const QStringList& arguments : refusedLines) {
        const ProgramRun refused = run(GetParam(), arguments);
        EXPECT_EQ(refused.status, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(refused.err.startsWith(program() + ": ")) << refused.err.toStdString();
        EXPECT_TRUE(refused.err.endsWith(" (try --help)\n")) << refused.err.toStdString();
        EXPECT_EQ(refused.err.count('\n'), 1);
        EXPECT_EQ(refused.out, QString());
    }
}

INSTANTIATE_TEST_SUITE_P(Programs, CommandLinesTest, ::testing::Values("vantelle", "vantelle-blend"),
                         [](const auto& info) {
                             std::string name = info.param;
                             name.erase(std::remove(name.begin(), name.end(), '-'), name.end());
                             return name;
                         });

} // namespace
