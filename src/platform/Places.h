#pragma once

#include <QString>

// The folders the program finds on the machine.
class Places {
public:
    virtual ~Places() = default;
    // The user's desktop folder without a trailing separator.
    virtual QString DesktopFolder() = 0;
    // The folder of the program's data files.
    virtual QString ProgramFolder() = 0;
};
