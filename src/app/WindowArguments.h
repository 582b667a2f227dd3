#pragma once

#include <QString>
#include <QStringList>

// The command line of the window program:
//   vantelle [PICTURE1 [PICTURE2]]
// A file manager's "Open With" passes the chosen pictures this way.
struct ParsedWindowCommand {
    QStringList pictures; // for Text1, then Text2, then left out; absolute, in native separators
    bool help = false;    // --help or -h
    bool version = false; // --version
    QString error;        // why the command line was refused
};

// Reads the arguments after the program name by the rules of ReadCommandLine. A relative
// picture path is taken from currentFolder, so it still names the same file when the field
// is read later, whatever folder the program then runs in.
ParsedWindowCommand ParseWindowArguments(const QStringList& arguments, const QString& currentFolder);

QString WindowUsage();
