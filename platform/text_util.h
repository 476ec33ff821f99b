#pragma once
// Small text helpers shared by the stored formats. All are locale-independent: a host
// that switches the C locale to one with a decimal comma must not change what we write.

#include <cstddef>
#include <string>
#include <string_view>

namespace vex::platform {

// ASCII-only lower case; other bytes (UTF-8 included) pass unchanged.
std::string AsciiLower(std::string_view s);

// True when a and b are equal ignoring ASCII case.
bool EqualsNoCase(std::string_view a, std::string_view b);

// s without leading and trailing blanks and tabs.
std::string_view TrimBlanks(std::string_view s);

// s cut to at most maxBytes bytes, never inside a UTF-8 character.
std::string TruncateUtf8(std::string s, std::size_t maxBytes);

// "%d" of value.
std::string FormatInt(long long value);

// "%.Nf" of value with N = decimals (correctly rounded from the binary value, as printf does).
std::string FormatFixed(double value, int decimals);

// The leading decimal integer of s as strtol reads it (blanks, then an optional sign, then
// digits); 0 when there is none. Values beyond the 32-bit range saturate.
int ParseLeadingInt(std::string_view s);

// The leading decimal floating-point number of s as strtod reads it in the C locale
// (blanks, optional sign, digits, point, exponent); 0.0 when there is none.
double ParseLeadingDouble(std::string_view s);

// Every occurrence of `from` in s replaced by `to`, left to right; an empty `from` matches
// nothing.
std::string ReplaceAll(std::string s, std::string_view from, std::string_view to);

}  // namespace vex::platform
