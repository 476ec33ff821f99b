#include "model/field.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>

#include "model/table_data.h"
#include "model/table_header.h"

namespace vex {
namespace {

// A store that keeps what is put, with the puts' order.
struct MapStore {
  std::map<std::pair<std::string, std::string>, std::string> values;
  std::vector<std::string> order;

  void PutInt(std::string_view s, std::string_view k, int v) { Put(s, k, "i" + std::to_string(v)); }
  void PutDouble(std::string_view s, std::string_view k, double v) { Put(s, k, "d" + std::to_string(v)); }
  void PutString(std::string_view s, std::string_view k, std::string_view v) { Put(s, k, "s" + std::string(v)); }
  void Put(std::string_view s, std::string_view k, std::string v) {
    values[{std::string(s), std::string(k)}] = std::move(v);
    order.emplace_back(k);
  }
  const std::string* Find(std::string_view s, std::string_view k) const {
    const auto it = values.find({std::string(s), std::string(k)});
    return it == values.end() ? nullptr : &it->second;
  }
  int GetInt(std::string_view s, std::string_view k, int d) const {
    const auto* v = Find(s, k);
    return v ? std::stoi(v->substr(1)) : d;
  }
  double GetDouble(std::string_view s, std::string_view k, double d) const {
    const auto* v = Find(s, k);
    return v ? std::stod(v->substr(1)) : d;
  }
  std::string GetString(std::string_view s, std::string_view k, std::string_view d) const {
    const auto* v = Find(s, k);
    return v ? v->substr(1) : std::string(d);
  }
};

TEST(Fields, CellFieldsAreTheStoredMembersInFileOrder) {
  std::vector<std::string> keys;
  for (const auto& f : CellFields()) keys.emplace_back(f.key);
  EXPECT_EQ(keys, (std::vector<std::string>{"HorzMode", "VertMode", "strText", "dHeight", "nType", "dScael",
                                            "sBlockName"}));
  std::vector<std::string> header;
  for (const auto& f : HeaderFields()) header.emplace_back(f.key);
  EXPECT_EQ(header, (std::vector<std::string>{"TitleName", "TitleVersion", "TitleType", "TitleROrC"}));
}

TEST(Fields, SaveThenLoadGivesTheRecordBack) {
  TableCell c;
  c.HorzMode = 2;
  c.VertMode = 1;
  c.strText = "M12";
  c.dHeight = 2.5;
  c.nType = kImageCell;
  c.dScael = 0.5;
  c.sBlockName = "VexTable3";
  MapStore store;
  SaveFields(store, "T", "Grid/Row1/Col2/", c, CellFields());
  EXPECT_EQ(store.order.front(), "Grid/Row1/Col2/HorzMode");
  EXPECT_EQ(store.order.size(), CellFields().size());
  EXPECT_EQ(*store.Find("T", "Grid/Row1/Col2/strText"), "sM12");

  TableCell back;
  LoadFields(store, "T", "Grid/Row1/Col2/", back, CellFields());
  back.picture = c.picture;
  EXPECT_EQ(back, c);
}

TEST(Fields, MissingKeysKeepTheCurrentValues) {
  MapStore store;
  store.PutString("T", "TitleName", "Bolts");
  TableHeader h;
  h.TitleVersion = "2.0";
  h.TitleROrC = 3;
  LoadFields(store, "T", "", h, HeaderFields());
  EXPECT_EQ(h.TitleName, "Bolts");
  EXPECT_EQ(h.TitleVersion, "2.0");
  EXPECT_EQ(h.TitleROrC, 3);
}

TEST(Fields, ForEachFieldVisitsEveryMemberByReference) {
  TableCell c;
  ForEachField(c, CellFields(), [](std::string_view, auto& v) {
    using T = std::decay_t<decltype(v)>;
    if constexpr (std::is_same_v<T, int>) v = 7;
    else if constexpr (std::is_same_v<T, double>) v = 1.5;
    else v = "x";
  });
  EXPECT_EQ(c.HorzMode, 7);
  EXPECT_EQ(c.nType, 7);
  EXPECT_EQ(c.dScael, 1.5);
  EXPECT_EQ(c.sBlockName, "x");
}

}  // namespace
}  // namespace vex
