#pragma once

namespace rur::vat {

// Computed rounding of the return's figures: the value is written with 15 significant
// digits; when that text has exactly one, three or five decimals it is moved 0.01, 0.0001
// or 0.000001 away from zero; then it is formatted with "0", "0.00" or "0.0000" (halves away
// from zero) and read back. So 28.499999999999996 (written 28.5) computes as 29, while the
// text rounding on store gives 28.
double Zaokr0(long double value);
double Zaokr2(long double value);
double Zaokr4(long double value);

// Text rounding on store: the value formatted with "0" or "0.00" and read back.
double storeRound0(double value);
double storeRound2(double value);

}  // namespace rur::vat
