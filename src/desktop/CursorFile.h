#pragma once

#include <QByteArray>
#include <QCursor>
#include <QString>

// A Windows cursor file (.cur). Qt decodes its picture through the icon reader, which drops
// the hot spot; the hot spot is read here from the file's directory entry.

// The cursor of the first image in the file's contents. Throws Failure with a description
// naming the file when the contents are no cursor.
QCursor CursorFromFileContents(const QByteArray& contents, const QString& path);

// The cursor file at the path. Throws Failure when it cannot be read or is no cursor.
QCursor LoadCursorFromFile(const QString& path);
