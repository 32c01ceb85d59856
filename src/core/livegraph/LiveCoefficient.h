#pragma once

#include <QString>
#include <optional>

// The display coefficient of a live graph row: two decimals, 0 to 10000.
namespace LiveCoefficient {

inline constexpr double kMax = 10000.0;

// Reads the number at the start of the text as the operator typed it (leading blanks and
// trailing characters are ignored, "12.5x" reads 12.5); none when it does not start with
// a number or the number is not a number at all (NaN).
std::optional<double> ParseLeading(const QString& text);

// Cut to two decimals (toward zero) and limited to 0..10000.
double Normalise(double value);

// "%.2f", independent of the user's locale.
QString Text(double value);

}  // namespace LiveCoefficient
