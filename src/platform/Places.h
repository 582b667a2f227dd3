#pragma once

#include <QString>

// The folders the program finds on the machine.
class Places {
public:
    virtual ~Places() = default;
    // The folder a first start sends results to, without a trailing separator: the user's
    // desktop folder where it exists, else the Pictures folder, else the home folder.
    virtual QString DesktopFolder() = 0;
    // The user's Pictures folder where it exists, else the home folder; empty text when
    // neither exists.
    virtual QString PicturesFolder() = 0;
    // The program folder: the folder of the program's data files (skin, cursor, icon,
    // samples). Beside the executable in the build tree; <prefix>/share/vantelle when installed.
    virtual QString ProgramFolder() = 0;
};
