#pragma once
// Descriptor tables of stored records: one row per stored member, with the key it is stored
// under. Loading, saving, JSON and the windows iterate the table instead of writing the
// field list out again, so a member added to a record is added in one place.
//
// A store is anything with GetInt/GetDouble/GetString(section, key, default) and
// PutInt/PutDouble/PutString(section, key, value): the INI accessor, the XML store, a batch of
// INI writes. Each store formats numbers its own way ("%.2f" in INI files, "%.6f" in XML).

#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

namespace vex {

template <class Record>
struct Field {
  using Member = std::variant<int Record::*, double Record::*, std::string Record::*>;
  const char* key;
  Member member;
};

// Calls visit(key, value) for each field of `record` in table order; value is an int&,
// double& or std::string& (const for a const record).
template <class Record, class Visit>
void ForEachField(Record& record, std::span<const Field<std::remove_const_t<Record>>> fields,
                  Visit&& visit) {
  for (const auto& f : fields)
    std::visit([&](auto member) { visit(std::string_view(f.key), record.*member); }, f.member);
}

namespace field_detail {
template <class Store>
void Put(Store& s, std::string_view section, const std::string& key, int v) {
  s.PutInt(section, key, v);
}
template <class Store>
void Put(Store& s, std::string_view section, const std::string& key, double v) {
  s.PutDouble(section, key, v);
}
template <class Store>
void Put(Store& s, std::string_view section, const std::string& key, const std::string& v) {
  s.PutString(section, key, v);
}
template <class Store>
void Get(const Store& s, std::string_view section, const std::string& key, int& v) {
  v = s.GetInt(section, key, v);
}
template <class Store>
void Get(const Store& s, std::string_view section, const std::string& key, double& v) {
  v = s.GetDouble(section, key, v);
}
template <class Store>
void Get(const Store& s, std::string_view section, const std::string& key, std::string& v) {
  v = s.GetString(section, key, v);
}
}  // namespace field_detail

// Reads every field from `section`, key keyPrefix + field key, the record's current value as
// the default.
template <class Store, class Record>
void LoadFields(const Store& store, std::string_view section, const std::string& keyPrefix,
                Record& record, std::type_identity_t<std::span<const Field<Record>>> fields) {
  ForEachField(record, fields, [&](std::string_view key, auto& value) {
    field_detail::Get(store, section, keyPrefix + std::string(key), value);
  });
}

// Writes every field in table order, key keyPrefix + field key. The store's puts return
// nothing: stores that can fail collect their writes and report once (a batch of INI writes).
template <class Store, class Record>
void SaveFields(Store& store, std::string_view section, const std::string& keyPrefix,
                const Record& record, std::type_identity_t<std::span<const Field<Record>>> fields) {
  ForEachField(record, fields, [&](std::string_view key, const auto& value) {
    field_detail::Put(store, section, keyPrefix + std::string(key), value);
  });
}

}  // namespace vex
