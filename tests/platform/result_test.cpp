#include "platform/result.h"

#include <gtest/gtest.h>

#include <string>

namespace vex {
namespace {

TEST(Result, DefaultIsSuccessWithoutAMessage) {
  const Result r;
  EXPECT_TRUE(r.ok());
  EXPECT_TRUE(static_cast<bool>(r));
  EXPECT_EQ(r.code(), ErrorCode::kOk);
  EXPECT_EQ(r.message(), "");
  EXPECT_TRUE(r.where().empty());
  EXPECT_EQ(r.WithContext("\"a.vtf\"").message(), "");  // success stays success, silent
}

TEST(Result, FailureCarriesCodeMessageAndPosition) {
  InputPosition at;
  at.line = 12;
  const Result r(ErrorCode::kMalformed, "not a number", at);
  EXPECT_FALSE(r);
  EXPECT_EQ(r.code(), ErrorCode::kMalformed);
  EXPECT_EQ(r.Describe(), "not a number (line 12)");
  EXPECT_EQ(r.WithContext("\"plan.dxf\"").Describe(), "\"plan.dxf\": not a number (line 12)");
  EXPECT_EQ(r.WithContext("\"plan.dxf\"").code(), ErrorCode::kMalformed);

  InputPosition byte;
  byte.offset = 0;
  EXPECT_EQ(Result(ErrorCode::kMalformed, "bad", byte).Describe(), "bad (at byte 0)");
  InputPosition field;
  field.field = "Cells[0][1].strText";
  EXPECT_EQ(Result(ErrorCode::kMalformed, "Cells[0][1].strText: expected a string", field).Describe(),
            "Cells[0][1].strText: expected a string");
}

TEST(Result, EveryCodeHasAName) {
  for (int c = static_cast<int>(ErrorCode::kOk); c <= static_cast<int>(ErrorCode::kCancelled); ++c)
    EXPECT_STRNE(ErrorCodeName(static_cast<ErrorCode>(c)), "unknown") << c;
}

TEST(ResultOr, HoldsTheValueOrTheFailure) {
  ResultOr<std::string> good(std::string("table"));
  ASSERT_TRUE(good);
  EXPECT_TRUE(good.result().ok());
  EXPECT_EQ(good.value(), "table");
  EXPECT_EQ(good->size(), 5u);
  const std::string moved = std::move(good).value();
  EXPECT_EQ(moved, "table");

  const ResultOr<std::string> bad(Result(ErrorCode::kNoTable, "no frame"));
  EXPECT_FALSE(bad);
  EXPECT_EQ(bad.result().code(), ErrorCode::kNoTable);
  EXPECT_EQ(bad.result().message(), "no frame");
}

}  // namespace
}  // namespace vex
