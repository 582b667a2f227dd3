#pragma once

#include "platform/FileReplacement.h"
#include "platform/ReplacingFile.h"

#include <QByteArray>
#include <QString>

#include <optional>

// A file written with all its bytes at once, as a writer that has them does: why it could not
// be, or nothing.
inline std::optional<WriteError> ReplaceWholeFile(const QString& path, const QByteArray& bytes)
{
    ReplacingFile file(path);
    if (file.append(bytes.constData(), static_cast<std::size_t>(bytes.size())))
        file.commit();
    return file.error();
}

#ifdef Q_OS_UNIX
// The same straight through the new content, waiting the way given.
inline std::optional<WriteError> ReplaceWholeContent(const QString& path, const QByteArray& bytes, WaitingContent way)
{
    ContentReplacement content(path, way);
    if (content.refusal())
        return content.refusal();
    if (const int error = content.append(bytes.constData(), static_cast<std::size_t>(bytes.size())))
        return SystemWriteError(error);
    return content.commit();
}
#endif
