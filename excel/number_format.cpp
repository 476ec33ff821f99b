#include "excel/number_format.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace vex::excel {
namespace {

constexpr std::array<const char*, 12> kMonths = {"January", "February", "March",     "April",   "May",      "June",
                                                 "July",    "August",   "September", "October", "November", "December"};
constexpr std::array<const char*, 7> kDays = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

bool StartsWithNoCase(std::string_view s, std::size_t at, std::string_view word) {
  if (s.size() - at < word.size() || at > s.size()) return false;
  for (std::size_t i = 0; i < word.size(); ++i)
    if (Lower(s[at + i]) != Lower(word[i])) return false;
  return true;
}

// The sections of a code split at ';' outside quotes, escapes and brackets.
std::vector<std::string_view> Sections(std::string_view code) {
  std::vector<std::string_view> out;
  std::size_t start = 0;
  bool quoted = false;
  for (std::size_t i = 0; i < code.size(); ++i) {
    const char c = code[i];
    if (quoted) {
      quoted = c != '"';
    } else if (c == '"') {
      quoted = true;
    } else if (c == '\\' || c == '_' || c == '*') {
      ++i;
    } else if (c == '[') {
      const std::size_t close = code.find(']', i);
      if (close == std::string_view::npos) break;
      i = close;
    } else if (c == ';') {
      out.push_back(code.substr(start, i - start));
      start = i + 1;
    }
  }
  out.push_back(code.substr(start));
  return out;
}

// One piece of a section: a literal text or a format symbol.
struct Token {
  enum Kind { kLiteral, kDigit, kPoint, kComma, kPercent, kExponent, kText, kDate, kAmPm, kGeneral } kind;
  std::string text;  // literal text; the placeholder ('0', '#', '?'); the date code ("yyyy", "[h]")
};

std::vector<Token> Tokenize(std::string_view s) {
  std::vector<Token> out;
  auto literal = [&](std::string_view t) {
    if (!out.empty() && out.back().kind == Token::kLiteral)
      out.back().text += t;
    else
      out.push_back({Token::kLiteral, std::string(t)});
  };
  for (std::size_t i = 0; i < s.size();) {
    const char c = s[i];
    const char lc = Lower(c);
    if (c == '"') {
      const std::size_t close = s.find('"', i + 1);
      const std::size_t end = close == std::string_view::npos ? s.size() : close;
      literal(s.substr(i + 1, end - i - 1));
      i = end + 1;
    } else if (c == '\\') {
      if (i + 1 < s.size()) literal(s.substr(i + 1, 1));
      i += 2;
    } else if (c == '_') {
      literal(" ");
      i += 2;
    } else if (c == '*') {
      i += 2;  // a fill character: its repetition depends on the column width
    } else if (c == '[') {
      const std::size_t close = s.find(']', i);
      const std::string_view inner = s.substr(i + 1, (close == std::string_view::npos ? s.size() : close) - i - 1);
      i = close == std::string_view::npos ? s.size() : close + 1;
      if (!inner.empty() && (Lower(inner[0]) == 'h' || Lower(inner[0]) == 'm' || Lower(inner[0]) == 's')) {
        std::string code(1, Lower(inner[0]));
        out.push_back({Token::kDate, "[" + code + "]"});
      } else if (!inner.empty() && inner[0] == '$') {
        const std::size_t dash = inner.find('-');
        literal(inner.substr(1, dash == std::string_view::npos ? std::string_view::npos : dash - 1));
      }
      // Colours and conditions change nothing in the text.
    } else if (c == '0' || c == '#' || c == '?') {
      out.push_back({Token::kDigit, std::string(1, c)});
      ++i;
    } else if (c == '.') {
      out.push_back({Token::kPoint, "."});
      ++i;
    } else if (c == ',') {
      out.push_back({Token::kComma, ","});
      ++i;
    } else if (c == '%') {
      out.push_back({Token::kPercent, "%"});
      ++i;
    } else if ((lc == 'e') && i + 1 < s.size() && (s[i + 1] == '+' || s[i + 1] == '-')) {
      out.push_back({Token::kExponent, std::string(1, s[i + 1])});
      i += 2;
    } else if (c == '@') {
      out.push_back({Token::kText, "@"});
      ++i;
    } else if (StartsWithNoCase(s, i, "General")) {
      out.push_back({Token::kGeneral, "General"});
      i += 7;
    } else if (StartsWithNoCase(s, i, "AM/PM")) {
      out.push_back({Token::kAmPm, "AM/PM"});
      i += 5;
    } else if (StartsWithNoCase(s, i, "A/P")) {
      out.push_back({Token::kAmPm, "A/P"});
      i += 3;
    } else if (lc == 'y' || lc == 'm' || lc == 'd' || lc == 'h' || lc == 's') {
      std::size_t j = i;
      while (j < s.size() && Lower(s[j]) == lc) ++j;
      out.push_back({Token::kDate, std::string(j - i, lc)});
      i = j;
    } else {
      literal(s.substr(i, 1));
      ++i;
    }
  }
  return out;
}

bool IsDateSection(const std::vector<Token>& tokens) {
  for (const Token& t : tokens)
    if (t.kind == Token::kDate || t.kind == Token::kAmPm) return true;
  return false;
}

// ---- Dates and times

struct DateParts {
  int year = 1900, month = 1, day = 0, weekday = 0;
  long long hour = 0;
  int minute = 0, second = 0;
  double fraction = 0;  // of a second
  double days = 0;      // the whole serial, for elapsed hours
};

// Days from 1970-01-01 to a civil date, and back (proleptic Gregorian).
long long DaysFromCivil(long long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long long>(doe) - 719468;
}

void CivilFromDays(long long z, int& y, int& m, int& d) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long yy = static_cast<long long>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yy + (m <= 2));
}

DateParts SplitSerial(double serial, bool date1904, int fractionDigits) {
  DateParts p;
  // Time rounded to what is shown: whole seconds, or the shown fraction of one.
  const double unit = std::pow(10.0, fractionDigits);
  const double secondsTotal = std::round(serial * 86400.0 * unit) / unit;
  p.days = secondsTotal / 86400.0;
  long long wholeDays = static_cast<long long>(std::floor(secondsTotal / 86400.0));
  double secondsOfDay = secondsTotal - static_cast<double>(wholeDays) * 86400.0;
  p.hour = static_cast<long long>(secondsOfDay / 3600);
  p.minute = static_cast<int>((secondsOfDay - static_cast<double>(p.hour) * 3600) / 60);
  const double sec = secondsOfDay - static_cast<double>(p.hour) * 3600 - p.minute * 60;
  p.second = static_cast<int>(sec);
  p.fraction = sec - p.second;
  if (date1904) {
    const long long z = DaysFromCivil(1904, 1, 1) + wholeDays;
    CivilFromDays(z, p.year, p.month, p.day);
    p.weekday = static_cast<int>(((z % 7) + 7 + 4) % 7);
  } else if (wholeDays == 60) {
    // The spreadsheet's calendar keeps a 29 February 1900 that never was.
    p.year = 1900, p.month = 2, p.day = 29, p.weekday = 3;
  } else if (wholeDays == 0) {
    p.year = 1900, p.month = 1, p.day = 0, p.weekday = 6;
  } else {
    const long long z = DaysFromCivil(1899, 12, 31) + wholeDays - (wholeDays > 60 ? 1 : 0);
    CivilFromDays(z, p.year, p.month, p.day);
    p.weekday = static_cast<int>(((z % 7) + 7 + 4) % 7);
  }
  return p;
}

std::string Padded(long long v, int width) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%0*lld", width, v);
  return buf;
}

std::string FormatDate(double value, const std::vector<Token>& tokens, bool date1904) {
  bool twelveHour = false;
  int fractionDigits = 0;
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    if (tokens[i].kind == Token::kAmPm) twelveHour = true;
    if (tokens[i].kind == Token::kDate && tokens[i].text[0] == 's' && i + 1 < tokens.size() &&
        tokens[i + 1].kind == Token::kPoint)
      for (std::size_t j = i + 2; j < tokens.size() && tokens[j].kind == Token::kDigit && tokens[j].text == "0"; ++j)
        ++fractionDigits;
  }
  const DateParts p = SplitSerial(value, date1904, fractionDigits);
  // "m" means minutes right after an hour or right before a second.
  auto isMinute = [&](std::size_t i) {
    for (std::size_t j = i; j-- > 0;) {
      if (tokens[j].kind != Token::kDate) continue;
      if (tokens[j].text[0] == 'h' || tokens[j].text == "[h]") return true;
      break;
    }
    for (std::size_t j = i + 1; j < tokens.size(); ++j) {
      if (tokens[j].kind != Token::kDate) continue;
      return tokens[j].text[0] == 's' || tokens[j].text == "[s]";
    }
    return false;
  };
  std::string out;
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    const Token& t = tokens[i];
    switch (t.kind) {
      case Token::kDate: {
        const char c = t.text[0];
        const int n = static_cast<int>(t.text.size());
        if (t.text == "[h]") {
          out += std::to_string(static_cast<long long>(std::floor(p.days * 24 + 1e-9)));
        } else if (t.text == "[m]") {
          out += std::to_string(static_cast<long long>(std::floor(p.days * 1440 + 1e-9)));
        } else if (t.text == "[s]") {
          out += std::to_string(static_cast<long long>(std::floor(p.days * 86400 + 1e-9)));
        } else if (c == 'y') {
          out += n <= 2 ? Padded(p.year % 100, 2) : Padded(p.year, 4);
        } else if (c == 'd') {
          if (n == 1) out += std::to_string(p.day);
          else if (n == 2) out += Padded(p.day, 2);
          else if (n == 3) out += std::string(kDays[static_cast<std::size_t>(p.weekday)]).substr(0, 3);
          else out += kDays[static_cast<std::size_t>(p.weekday)];
        } else if (c == 'h') {
          long long h = p.hour % 24;
          if (twelveHour) h = h % 12 == 0 ? 12 : h % 12;
          out += n == 1 ? std::to_string(h) : Padded(h, 2);
        } else if (c == 's') {
          out += n == 1 ? std::to_string(p.second) : Padded(p.second, 2);
          if (fractionDigits > 0) {
            const long long f = static_cast<long long>(std::round(p.fraction * std::pow(10.0, fractionDigits)));
            out += "." + Padded(f, fractionDigits);
            // The point and its digits have been written.
            i += 1 + static_cast<std::size_t>(fractionDigits);
          }
        } else if (c == 'm') {
          if (n <= 2 && isMinute(i)) {
            out += n == 1 ? std::to_string(p.minute) : Padded(p.minute, 2);
          } else if (n == 1) {
            out += std::to_string(p.month);
          } else if (n == 2) {
            out += Padded(p.month, 2);
          } else {
            const std::string name = kMonths[static_cast<std::size_t>(p.month - 1)];
            out += n == 3 ? name.substr(0, 3) : n == 5 ? name.substr(0, 1) : name;
          }
        }
        break;
      }
      case Token::kAmPm:
        if (t.text == "A/P") out += p.hour % 24 < 12 ? "A" : "P";
        else out += p.hour % 24 < 12 ? "AM" : "PM";
        break;
      case Token::kDigit:
      case Token::kPoint:
      case Token::kComma:
      case Token::kPercent:
      case Token::kExponent:
      case Token::kLiteral:
        out += t.text;
        break;
      case Token::kText:
      case Token::kGeneral:
        break;
    }
  }
  return out;
}

// ---- Numbers

std::string GroupThousands(const std::string& digits) {
  std::string out;
  const std::size_t n = digits.size();
  for (std::size_t i = 0; i < n; ++i) {
    out += digits[i];
    if ((n - i - 1) % 3 == 0 && i + 1 < n) out += ',';
  }
  return out;
}

std::string FormatNumberSection(double value, const std::vector<Token>& tokens) {
  // Shape of the numeric part.
  int percent = 0, scaleCommas = 0;
  bool thousands = false, exponent = false, seenPoint = false;
  std::string intPlaces, fracPlaces, expPlaces;
  std::string expSign;
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    const Token& t = tokens[i];
    if (t.kind == Token::kPercent) ++percent;
    if (t.kind == Token::kExponent) {
      exponent = true;
      expSign = t.text;
    }
    if (t.kind == Token::kPoint && !exponent) seenPoint = true;
    if (t.kind == Token::kDigit) {
      if (exponent) expPlaces += t.text;
      else if (seenPoint) fracPlaces += t.text;
      else intPlaces += t.text;
    }
    if (t.kind == Token::kComma && !exponent) {
      const bool digitBefore = i > 0 && tokens[i - 1].kind == Token::kDigit;
      std::size_t j = i + 1;
      while (j < tokens.size() && tokens[j].kind == Token::kComma) ++j;
      const bool digitAfter = j < tokens.size() && tokens[j].kind == Token::kDigit && !seenPoint;
      if (digitBefore && digitAfter) thousands = true;
      else if (digitBefore || (i > 0 && tokens[i - 1].kind == Token::kComma)) ++scaleCommas;
    }
  }
  double v = value;
  for (int k = 0; k < percent; ++k) v *= 100;
  for (int k = 0; k < scaleCommas; ++k) v /= 1000;

  const int decimals = static_cast<int>(fracPlaces.size());
  int exp10 = 0;
  if (exponent && v != 0) {
    // The mantissa keeps as many integer digits as there are placeholders (engineering
    // notation for "##0.0E+0").
    const int step = std::max<int>(1, static_cast<int>(intPlaces.size()));
    exp10 = static_cast<int>(std::floor(std::log10(std::fabs(v))));
    if (step > 1) exp10 = static_cast<int>(std::floor(static_cast<double>(exp10) / step)) * step;
    else exp10 -= static_cast<int>(intPlaces.size()) - 1;
    v /= std::pow(10.0, exp10);
    // Rounding may carry the mantissa over.
    char probe[64];
    std::snprintf(probe, sizeof probe, "%.*f", decimals, std::fabs(v));
    if (std::atof(probe) >= std::pow(10.0, step) && step == 1) {
      v /= 10;
      ++exp10;
    }
  }
  // Halves round away from zero, as the spreadsheet rounds (printf would round them to even).
  const double p10 = std::pow(10.0, decimals);
  const double rounded = std::fabs(v) * p10 < 1e15 ? std::round(std::fabs(v) * p10) / p10 : std::fabs(v);
  char buf[400];
  std::snprintf(buf, sizeof buf, "%.*f", decimals, rounded);
  std::string fixed = buf;
  const std::size_t dot = fixed.find('.');
  std::string intDigits = fixed.substr(0, dot);
  std::string fracDigits = dot == std::string::npos ? "" : fixed.substr(dot + 1);
  if (intDigits == "0") intDigits.clear();

  // Integer part: placeholders fill from the right; '0' pads with zeros.
  const std::size_t zeros = static_cast<std::size_t>(std::count(intPlaces.begin(), intPlaces.end(), '0'));
  const std::size_t shown = intPlaces.find_first_of("0?") == std::string::npos
                                ? 0
                                : intPlaces.size() - intPlaces.find_first_of("0?");
  std::string intText = intDigits;
  if (intText.size() < zeros) intText.insert(0, zeros - intText.size(), '0');
  if (thousands) intText = GroupThousands(intText);
  if (intText.size() < shown) intText.insert(0, shown - intText.size(), ' ');  // '?' placeholders

  // Fraction part: trailing zeros under '#' are dropped, under '?' become blanks.
  std::string fracText = fracDigits;
  for (std::size_t k = fracPlaces.size(); k-- > 0;) {
    if (fracText[k] != '0' || fracPlaces[k] == '0') break;
    if (fracPlaces[k] == '#') fracText.erase(k, 1);
    else fracText[k] = ' ';
  }

  std::string out;
  bool intWritten = false, fracWritten = false, pointPassed = false;
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    const Token& t = tokens[i];
    if (t.kind == Token::kPoint) pointPassed = true;
    switch (t.kind) {
      case Token::kLiteral:
        out += t.text;
        break;
      case Token::kPercent:
        out += '%';
        break;
      case Token::kDigit:
      case Token::kComma:
        if (!intWritten && !pointPassed) {
          out += intText;
          intWritten = true;
        }
        break;
      case Token::kPoint:
        if (!intWritten) {
          out += intText;
          intWritten = true;
        }
        if (!fracWritten) {
          out += '.';
          out += fracText;
          fracWritten = true;
        }
        break;
      case Token::kExponent: {
        if (!intWritten) {
          out += intText;
          intWritten = true;
        }
        if (!fracWritten && decimals > 0) {
          out += '.';
          out += fracText;
          fracWritten = true;
        }
        out += 'E';
        out += exp10 < 0 ? "-" : (expSign == "+" ? "+" : "");
        std::string e = std::to_string(std::abs(exp10));
        const std::size_t width = std::max<std::size_t>(1, expPlaces.size());
        if (e.size() < width) e.insert(0, width - e.size(), '0');
        out += e;
        // Skip the exponent's placeholders.
        while (i + 1 < tokens.size() && tokens[i + 1].kind == Token::kDigit) ++i;
        break;
      }
      case Token::kText:
      case Token::kDate:
      case Token::kAmPm:
      case Token::kGeneral:
        break;
    }
  }
  return out;
}

}  // namespace

std::string_view BuiltInNumberFormat(int id) {
  switch (id) {
    case 1: return "0";
    case 2: return "0.00";
    case 3: return "#,##0";
    case 4: return "#,##0.00";
    case 5: return "\"$\"#,##0_);\\(\"$\"#,##0\\)";
    case 6: return "\"$\"#,##0_);[Red]\\(\"$\"#,##0\\)";
    case 7: return "\"$\"#,##0.00_);\\(\"$\"#,##0.00\\)";
    case 8: return "\"$\"#,##0.00_);[Red]\\(\"$\"#,##0.00\\)";
    case 9: return "0%";
    case 10: return "0.00%";
    case 11: return "0.00E+00";
    case 12: return "# ?/?";
    case 13: return "# ?" "?/?" "?";  // split: "??/" would be a trigraph
    case 14: return "m/d/yyyy";
    case 15: return "d-mmm-yy";
    case 16: return "d-mmm";
    case 17: return "mmm-yy";
    case 18: return "h:mm AM/PM";
    case 19: return "h:mm:ss AM/PM";
    case 20: return "h:mm";
    case 21: return "h:mm:ss";
    case 22: return "m/d/yyyy h:mm";
    case 37: return "#,##0_);(#,##0)";
    case 38: return "#,##0_);[Red](#,##0)";
    case 39: return "#,##0.00_);(#,##0.00)";
    case 40: return "#,##0.00_);[Red](#,##0.00)";
    case 45: return "mm:ss";
    case 46: return "[h]:mm:ss";
    case 47: return "mm:ss.0";
    case 48: return "##0.0E+0";
    case 49: return "@";
    default: return "General";
  }
}

std::string FormatGeneral(double value) {
  if (!std::isfinite(value)) return "#NUM!";
  if (value == 0) return "0";
  const double a = std::fabs(value);
  const std::string sign = value < 0 ? "-" : "";
  char buf[64];
  if (a >= 1e11 || a < 1e-9) {
    std::snprintf(buf, sizeof buf, "%.5E", a);
    std::string s = buf;
    const std::size_t e = s.find('E');
    std::string mant = s.substr(0, e), exp = s.substr(e + 1);
    while (!mant.empty() && mant.back() == '0') mant.pop_back();
    if (!mant.empty() && mant.back() == '.') mant.pop_back();
    const char expSign = exp[0];
    std::string digits = exp.substr(1);
    while (digits.size() > 2 && digits[0] == '0') digits.erase(0, 1);
    return sign + mant + "E" + expSign + digits;
  }
  // At most 11 characters: the integer digits, the point and the decimals.
  const int intDigits = a < 1 ? 1 : static_cast<int>(std::floor(std::log10(a))) + 1;
  const int decimals = std::max(0, 10 - intDigits);
  std::snprintf(buf, sizeof buf, "%.*f", decimals, a);
  std::string s = buf;
  if (s.find('.') != std::string::npos) {
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
  }
  if (s == "0") {
    // Too small for 11 characters of fixed notation.
    std::snprintf(buf, sizeof buf, "%.5E", a);
    std::string t = buf;
    const std::size_t e = t.find('E');
    std::string mant = t.substr(0, e), exp = t.substr(e + 1);
    while (mant.back() == '0') mant.pop_back();
    if (mant.back() == '.') mant.pop_back();
    std::string digits = exp.substr(1);
    while (digits.size() > 2 && digits[0] == '0') digits.erase(0, 1);
    return sign + mant + "E" + exp[0] + digits;
  }
  return sign + s;
}

std::string FormatNumber(double value, std::string_view code, bool date1904) {
  if (!std::isfinite(value)) return "#NUM!";
  const std::vector<std::string_view> sections = Sections(code);
  std::string_view section = sections[0];
  double v = value;
  bool explicitSign = false;
  if (sections.size() >= 2 && value < 0) {
    section = sections[1];
    v = -value;
    explicitSign = true;
  } else if (sections.size() >= 3 && value == 0) {
    section = sections[2];
  }
  std::vector<Token> tokens = Tokenize(section);
  if (tokens.empty()) return "";
  if (IsDateSection(tokens)) {
    // Dates before the calendar's start cannot be shown.
    if (v < 0) return std::string(11, '#');
    return FormatDate(v, tokens, date1904);
  }
  const bool hasDigits = std::any_of(tokens.begin(), tokens.end(), [](const Token& t) { return t.kind == Token::kDigit; });
  const bool general = std::any_of(tokens.begin(), tokens.end(), [](const Token& t) { return t.kind == Token::kGeneral; });
  if (general || !hasDigits) {
    std::string out;
    const std::string number = FormatGeneral(explicitSign ? v : std::fabs(v));
    bool placed = false;
    for (const Token& t : tokens) {
      if (t.kind == Token::kGeneral && !placed) {
        out += number;
        placed = true;
      } else if (t.kind == Token::kLiteral) {
        out += t.text;
      }
    }
    if (general) return (!explicitSign && v < 0 ? "-" : "") + out;
    return out;  // a section of literals only
  }
  // Fractions ("# ?/?") are not drawn: General shows the same number.
  for (const Token& t : tokens)
    if (t.kind == Token::kLiteral && t.text.find('/') != std::string::npos) return FormatGeneral(value);
  std::string body = FormatNumberSection(v, tokens);
  if (!explicitSign && v < 0 && body.find_first_of("123456789") != std::string::npos) body.insert(0, "-");
  return body;
}

std::string FormatText(std::string_view text, std::string_view code) {
  const std::vector<std::string_view> sections = Sections(code);
  std::string_view section;
  if (sections.size() >= 4) section = sections[3];
  else if (sections.size() == 1 && sections[0].find('@') != std::string_view::npos) section = sections[0];
  else return std::string(text);
  std::string out;
  for (const Token& t : Tokenize(section)) {
    if (t.kind == Token::kText) out += text;
    else if (t.kind == Token::kLiteral) out += t.text;
  }
  return out;
}

}  // namespace vex::excel
