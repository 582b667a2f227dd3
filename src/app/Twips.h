#pragma once

#include <QRect>

// The window is designed in twips: 15 twips make one pixel at 96 dots per inch.
constexpr int TwipsPerPixel = 15;

constexpr int Pixels(int twips)
{
    return (twips + TwipsPerPixel / 2) / TwipsPerPixel;
}

constexpr QRect TwipsRect(int left, int top, int width, int height)
{
    return QRect(Pixels(left), Pixels(top), Pixels(width), Pixels(height));
}
