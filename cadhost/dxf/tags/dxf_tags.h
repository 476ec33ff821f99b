#pragma once
// Group codes and values of ASCII drawing files: reading them with line numbers, checking each
// value against its code's type, and writing them.

#include <stdexcept>
#include <string>
#include <string_view>

namespace cadhost::dxf {

// A malformed file: what is wrong and the 1-based line where reading stopped.
class FormatError : public std::runtime_error {
 public:
  FormatError(long line, const std::string& what) : std::runtime_error(what), m_line(line) {}
  long line() const { return m_line; }

 private:
  long m_line;
};

enum class ValueType { kString, kDouble, kInt, kHandle, kBinary };

// The type of a group code's value; false for codes drawing files do not use.
bool TypeOfCode(int code, ValueType& type);

// One group: its code, its value as written (a view into the file) and the line of the code.
// A number read by TagReader is kept with it, so that it is parsed once.
struct RawTag {
  int code = 0;
  std::string_view value;
  long line = 0;
  char parsed = 0;  // 'd' when `number` holds the value, 'i' when `integer` does
  double number = 0.0;
  long long integer = 0;
};

// Reads groups one by one. The text must outlive the reader. Every value is checked against
// its code's type; FormatError on the first fault.
class TagReader {
 public:
  explicit TagReader(std::string_view text);
  // The next group; false at the end of the text.
  bool next(RawTag& tag);
  // Makes the group last read the next one again.
  void unread();
  long line() const { return m_line; }

 private:
  bool readLine(std::string_view& line);
  std::string_view m_text;
  std::size_t m_pos = 0;
  long m_line = 0;
  RawTag m_last;
  bool m_hasUnread = false;
};

double ToDouble(const RawTag& tag);
long long ToInt(const RawTag& tag);
unsigned long long ToHandle(const RawTag& tag);

// Builds a drawing file. Codes are right-aligned in three columns; doubles are written with
// the fewest digits that read back to the same value.
class TagWriter {
 public:
  void reserve(std::size_t bytes) { m_out.reserve(bytes); }
  void str(int code, std::string_view value);
  void num(int code, double value);
  void integer(int code, long long value);
  void handle(int code, unsigned long long value);
  void point(int code, double x, double y, double z);
  void point2(int code, double x, double y);
  std::string& text() { return m_out; }

 private:
  void code(int c);
  std::string m_out;
};

}  // namespace cadhost::dxf
