#pragma once

#include <QByteArray>

// Whether the bytes read as a clean settings file: UTF-8 text (a byte-order mark allowed) of
// lines that are empty, comments (";" or "#"), section headers ("[...]") or "key=value"
// entries, with no control character below the blank but tab and line ends. Whatever the
// settings writer makes of any text is clean. The settings reader skips what it cannot read
// without a word, so a file that is anything else counts as damaged before a write keeps
// only the part that could be read.
bool IsCleanIniText(const QByteArray& text);
