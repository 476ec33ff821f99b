#include "model/table_header.h"

namespace vex {
namespace {
constexpr Field<TableHeader> kHeaderFields[] = {
    {"TitleName", &TableHeader::TitleName},
    {"TitleVersion", &TableHeader::TitleVersion},
    {"TitleType", &TableHeader::TitleType},
    {"TitleROrC", &TableHeader::TitleROrC},
};
}  // namespace

std::span<const Field<TableHeader>> HeaderFields() { return kHeaderFields; }

}  // namespace vex
