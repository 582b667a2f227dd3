#pragma once

#include <QString>

// The desktop's shell: it opens documents and web addresses with the user's programs.
class Shell {
public:
    virtual ~Shell() = default;
    virtual bool OpenDocument(const QString& path) = 0;
    virtual bool OpenWebAddress(const QString& address) = 0;
};
