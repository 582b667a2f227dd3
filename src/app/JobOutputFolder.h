#pragma once

#include <QString>

#include <optional>

class Form1;

// The folder the start button's job writes its result into, as the window's save options give
// it and before cleaning: the output folder's text, or the folder of picture #1 (from its
// absolute path, so that a bare file name never sends the result to the root). Nothing when
// neither save option is selected or picture #1 names no file.
std::optional<QString> JobOutputFolder(const Form1& form);
