#pragma once
// The outcome of every operation that can fail for reasons outside the program: reading and
// writing files, parsing what they hold, asking the host. A failure carries a code that callers
// may branch on, a one-line message for the drafter that names what failed, and, for input
// that could not be parsed, where in it the fault lies. Exceptions are for programming errors.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vex {

enum class ErrorCode {
  // The operation succeeded.
  kOk = 0,
  // A file, section, record or entity that must exist does not.
  kNotFound,
  // A file could not be opened or read (permissions, an input/output error, a folder).
  kCannotRead,
  // A file could not be written or put in place; the file that was there is untouched.
  kCannotWrite,
  // Input larger than its bound: a file over its size limit, counts beyond the table limits.
  kTooLarge,
  // Input that is not in its format: a parse error, a wrong type, a number out of range.
  kMalformed,
  // A well-formed file of another kind (a settings file where a table file was expected).
  kWrongKind,
  // A value the operation refuses (a name with a path separator, a line break in an INI key).
  kRefused,
  // The CAD host refused an operation on its drawing database.
  kHostError,
  // The selected lines form no table.
  kNoTable,
  // The drafter cancelled.
  kCancelled,
};

// Where in an input a fault lies; each part is optional.
struct InputPosition {
  std::int64_t line = 0;     // 1-based line number; 0 when not known
  std::int64_t offset = -1;  // byte offset from the start; -1 when not known
  std::string field;         // path of a field of a structured record ("Cells[0][1].strText")

  bool empty() const { return line == 0 && offset < 0 && field.empty(); }
};

class [[nodiscard]] Result {
 public:
  // Success.
  Result() = default;
  Result(ErrorCode code, std::string message, InputPosition where = {})
      : code_(code), message_(std::move(message)), where_(std::move(where)) {}

  static Result Ok() { return {}; }

  bool ok() const { return code_ == ErrorCode::kOk; }
  explicit operator bool() const { return ok(); }

  ErrorCode code() const { return code_; }
  // "" on success.
  const std::string& message() const { return message_; }
  const InputPosition& where() const { return where_; }

  // The message followed by the position where one is known ("...: line 12").
  std::string Describe() const;

  // For a failure, the same result with `context` put before the message ("\"a.vtf\": ...").
  Result WithContext(std::string_view context) const;

 private:
  ErrorCode code_ = ErrorCode::kOk;
  std::string message_;
  InputPosition where_;
};

// A value, or the failure that kept it from being made.
template <class T>
class [[nodiscard]] ResultOr {
 public:
  ResultOr(T value) : value_(std::move(value)) {}
  // `failure` must not be ok: an ok result without a value would be a programming error.
  ResultOr(Result failure) : result_(std::move(failure)) {}

  bool ok() const { return value_.has_value(); }
  explicit operator bool() const { return ok(); }
  // Ok when there is a value.
  const Result& result() const { return result_; }

  T& value() & { return *value_; }
  const T& value() const& { return *value_; }
  T&& value() && { return std::move(*value_); }
  T* operator->() { return &*value_; }
  const T* operator->() const { return &*value_; }

 private:
  Result result_;
  std::optional<T> value_;
};

// The name of a code, for logs and tests ("kMalformed" gives "malformed").
const char* ErrorCodeName(ErrorCode code);

}  // namespace vex
