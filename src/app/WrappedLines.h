#pragma once

#include <QString>
#include <QStringList>

class QFont;

// The lines a text takes in the given width and font: broken between words, and inside a word
// only where the word alone is wider than the line (a long path). Spaces at a break belong
// to the line before it.
QStringList WrappedLines(const QString& text, const QFont& font, qreal width);
