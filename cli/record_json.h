#pragma once
// Stored records as JSON objects: one member per field of the record's descriptor table, in
// stored order, under the field's key.

#include <nlohmann/json.hpp>
#include <span>
#include <string>

#include "model/field.h"

namespace vex::cli {

template <class Record>
nlohmann::ordered_json RecordToJson(const Record& record, std::span<const Field<Record>> fields) {
  nlohmann::ordered_json j = nlohmann::ordered_json::object();
  ForEachField(record, fields, [&](std::string_view key, const auto& value) { j[std::string(key)] = value; });
  return j;
}

}  // namespace vex::cli
