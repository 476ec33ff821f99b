#include "platform/result.h"

namespace vex {

std::string Result::Describe() const {
  std::string out = message_;
  if (where_.line > 0) out += " (line " + std::to_string(where_.line) + ")";
  else if (where_.offset >= 0) out += " (at byte " + std::to_string(where_.offset) + ")";
  return out;
}

Result Result::WithContext(std::string_view context) const {
  if (ok() || context.empty()) return *this;
  return Result(code_, std::string(context) + ": " + message_, where_);
}

const char* ErrorCodeName(ErrorCode code) {
  switch (code) {
    case ErrorCode::kOk: return "ok";
    case ErrorCode::kNotFound: return "not found";
    case ErrorCode::kCannotRead: return "cannot read";
    case ErrorCode::kCannotWrite: return "cannot write";
    case ErrorCode::kTooLarge: return "too large";
    case ErrorCode::kMalformed: return "malformed";
    case ErrorCode::kWrongKind: return "wrong kind";
    case ErrorCode::kRefused: return "refused";
    case ErrorCode::kHostError: return "host error";
    case ErrorCode::kNoTable: return "no table";
    case ErrorCode::kCancelled: return "cancelled";
  }
  return "unknown";
}

}  // namespace vex
