#pragma once

#include "platform/FileSystem.h"

#include <QString>

// The folder part of a path: everything up to and including its last separator, or empty
// text when it has none.
QString ParentFolder(const QString& path, QChar separator = NativePaths.separator);

// Removes doubled separators in one pass from left to right (three in a row become two). A
// leading run of separators becomes exactly the style's leading count, so a network path
// keeps its two on Windows and an absolute path keeps its one elsewhere.
QString CleanPath(const QString& path, const PathStyle& style = NativePaths);
