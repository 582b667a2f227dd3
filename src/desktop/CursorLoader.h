#pragma once

#include <QCursor>
#include <QString>

// Mouse cursors from cursor files.
class CursorLoader {
public:
    virtual ~CursorLoader() = default;
    // Throws Failure when the file cannot be read or holds no cursor.
    virtual QCursor LoadCursorFile(const QString& path) = 0;
};
