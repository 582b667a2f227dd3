#pragma once

#include <QByteArray>
#include <QString>

// What the picture writers other than the JPEG one share: one form of failure, and the safe
// writer under them.

// Throws Failure "Cannot save the picture <file>: <cause>", with the path and the cause.
[[noreturn]] void FailSavingPicture(int number, const QString& path, const QString& cause);

// Writes an encoded picture as the file, replacing a file of that name only once the new one is
// complete; a failure names the file and the cause.
void WritePictureBytes(const QString& path, const QByteArray& bytes);
