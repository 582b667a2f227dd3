#pragma once

#include <QString>

// The product's name: the window's caption and the settings store's section.
inline constexpr char ProductTitle[] = "Vantelle";

// The title that message boxes without a caption of their own show: the product title
// without its last word, and without further trailing words until it has at most 40
// characters. A title without a space to cut at stays whole.
QString ApplicationTitle(const QString& productTitle);
