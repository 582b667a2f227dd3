#pragma once

#include <cstdint>

// Whole numbers from floating-point values: nearest, ties to the even neighbour
// (2.5 -> 2, 3.5 -> 4, -0.5 -> 0). A value outside the target range, or not a number,
// is an overflow failure.
std::int32_t RoundToInt32(double value);
std::int16_t RoundToInt16(double value);
std::uint8_t RoundToByte(double value);
