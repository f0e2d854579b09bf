// Numbers as they travel through path strings, frames and script fields.
//
// Coordinates are written without blanks: whole numbers as plain digits,
// single-precision values with at most 7 significant digits and no trailing
// zeros. Reading takes the leading number of a text, so "200+5" is 200 and a
// text with no number is 0; frames written by us always read back exactly.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velistrad {

// The longest text either writer produces, sign and exponent included.
inline constexpr std::size_t kMaxNumberText = 24;

// Write at out (room for kMaxNumberText characters) and return the end.
char* writeSingle(char* out, float value);
char* writeLong(char* out, std::int64_t value);

void appendSingle(std::string& out, float value);
void appendLong(std::string& out, std::int64_t value);
std::string formatSingle(float value);

// Leading number of text: optional blanks, sign, digits, a "." and decimals,
// an exponent; reading stops at the first character that cannot continue it.
// No number gives 0. The result may be infinite for absurd exponents.
double leadingNumber(std::string_view text);

// The value that reading back writeSingle's text of value gives, without
// writing the text where it can be computed.
double singleAsWritten(float value);

// Nearest whole number, halves to the even neighbour.
double roundHalfEven(double value);

}  // namespace velistrad
