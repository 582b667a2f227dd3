#include "engine/Rounding.h"

#include "core/Failure.h"

#include <cmath>
#include <limits>

namespace {

double roundHalfEven(double value)
{
    const double floor = std::floor(value);
    const double fraction = value - floor;
    if (fraction > 0.5)
        return floor + 1;
    if (fraction < 0.5)
        return floor;
    return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

template <typename Int>
Int roundChecked(double value)
{
    const double rounded = roundHalfEven(value);
    if (!(rounded >= static_cast<double>(std::numeric_limits<Int>::min())
          && rounded <= static_cast<double>(std::numeric_limits<Int>::max())))
        throw Failure(FailureNumber::Overflow, "Overflow");
    return static_cast<Int>(rounded);
}

} // namespace

std::int32_t RoundToInt32(double value) { return roundChecked<std::int32_t>(value); }
std::int16_t RoundToInt16(double value) { return roundChecked<std::int16_t>(value); }
std::uint8_t RoundToByte(double value) { return roundChecked<std::uint8_t>(value); }
