#pragma once
// The reader of .ods workbooks: content.xml holds every sheet, styles.xml the defaults. A
// cell's displayed text is taken from its paragraphs, which the writing application stores as
// it showed them, so number formats need no rendering here.

#include <memory>
#include <optional>
#include <string_view>
#include <string>

#include "excel/workbook_source.h"

namespace vex::excel {

ResultOr<std::unique_ptr<WorkbookSource>> OpenOds(const std::string& path, const ReadLimits& limits);

// A length of the document format ("2.258cm", "0.1776in", "12pt") in points; nullopt when it
// is not one.
std::optional<double> OdfLengthToPoints(std::string_view text);

}  // namespace vex::excel
