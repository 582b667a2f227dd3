#pragma once

#include <cstdint>
#include <vector>

// The window's ramp drawn at any size. The ramp's strips and band are laid out in canvas units;
// an export scales them with the axis the ramp runs along (the width for a horizontal ramp, the
// height for a vertical one), so the export, reduced back to the canvas, shows the window's
// result. The overlay's share of each pixel is taken from what the window's own ramp leaves on
// the canvas, so the two cannot drift apart.

// A share of one: the overlay alone.
inline constexpr std::uint32_t RampShareOne = 1u << 16;

// The overlay's share, out of RampShareOne, at each of `length` positions along the ramp's axis
// (columns for direction 0, rows for direction 1), for the window's band from `bandStart` to its
// end. Any other direction gives the base alone.
std::vector<std::uint32_t> ScaledRampShares(double bandStart, double direction, int length);

// One row of the blend: each pixel base * (1 - share) + overlay * share, rounded to nearest.
// `shares` holds one share a column.
void BlendRowAcross(const std::uint32_t* base, const std::uint32_t* overlay, const std::uint32_t* shares,
                    std::uint32_t* out, int width);
// The same with one share for the whole row.
void BlendRowEvenly(const std::uint32_t* base, const std::uint32_t* overlay, std::uint32_t share,
                    std::uint32_t* out, int width);
