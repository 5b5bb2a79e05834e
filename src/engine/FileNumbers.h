// What a data file may ask for, held to sound bounds where the text is read:
// a count above kMaxCount is cut to it, a number that is not finite as a
// float reads as its default, and a number goes to int clamped into its range.
// Each cut leaves one Error row naming what was read (a Warning row for the
// numbers of a saved file, which the game wrote itself: see Saved).
#pragma once

#include <cstddef>
#include <string>

namespace FileNumbers {

// The most of anything a file may ask for: symbols, cells, pieces, bricks,
// units, comic steps, map nodes.
constexpr int kMaxCount = 1000;

// A count: above kMaxCount an Error row and kMaxCount; otherwise as it stands.
int Count(int value, const std::string& what);

// For a list read from a file, called before each entry is made with the number
// made so far: true (and, at the first refusal, an Error row) once the list
// holds kMaxCount entries and the entry must be left out.
bool ListFull(std::size_t made, const std::string& what);

// The float of the text ("45d" is degrees, text that starts with no number is
// 0); a number that is not finite as a float (nan, inf, 1e39) is the default,
// with an Error row.
float Finite(const std::string& text, float def, const std::string& what);

// Whether the text holds a number that is finite as a float (or no number).
bool IsFinite(const std::string& text);

// A number of a saved file (the users file, a profile) for a field that runs
// from min to max, read from the whole text (a fraction or an exponent too;
// whole fields truncate it toward zero). A finite number outside the range is
// the nearest end of it; text that holds no number, or one that is not finite
// as a float ("nan", "inf", "1e308"), leaves the value as it is and gives
// false. Each with one Warning row naming what was read.
bool Saved(const std::string& text, double min, double max, double& value, const std::string& what);

// A float truncated toward zero into int: beyond the range the nearest limit,
// NaN 0.
int ClampToInt(double value);

}  // namespace FileNumbers
