#pragma once
// The host's text advance model. It decides how wide a single-line text is, and so the extents
// of texts and the position of justified texts; drawing, recognition and the view all measure
// text with it, so a table drawn and read back lines up exactly.
//
// The model: a text of height h and width factor w advances
//     h * w * (sum of the ratios of its displayed characters)
// where a character's ratio is
//     1.0  for East Asian wide and fullwidth characters (CJK ideographs, kana, Hangul,
//          fullwidth forms, CJK punctuation),
//     0    for combining marks, zero-width characters and control characters,
//     0.5  for every other character (Latin, digits, punctuation, space, Greek, ...).
// The text's box runs from the baseline up to the height; there are no descenders. An obliqued
// text leans its box by the oblique angle; a text with thickness adds its extruded copy.
// Displayed characters are the string after its control codes are resolved: %%d (degree),
// %%p (plus-minus), %%c (diameter), %%% (percent) and %%nnn (character nnn) give one
// character, %%u and %%o (underline and overline switches) give none, and \U+XXXX gives the
// character XXXX but for "\U+0000", which is shown as written. Malformed UTF-8 bytes count as
// one narrow character each.

#include <string>
#include <string_view>

#pragma GCC visibility push(default)

namespace cadhost {

// The ratio of one character's advance to the text height at width factor 1.
double CharAdvanceRatio(char32_t c);
// True for East Asian wide and fullwidth characters.
bool IsWideCharacter(char32_t c);
// The characters a text string displays (see above).
std::u32string DisplayCharacters(std::string_view text);
// Sum of the ratios of the displayed characters of `text`.
double TextAdvanceRatio(std::string_view text);
// The advance of `text` at the given height and width factor.
double TextAdvance(std::string_view text, double height, double widthFactor);

}  // namespace cadhost

#pragma GCC visibility pop
