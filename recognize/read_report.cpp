#include "recognize/read_report.h"

#include "platform/message_sink.h"

namespace vex {
namespace {

std::string Count(int n, const char* one, const char* many) { return std::to_string(n) + " " + (n == 1 ? one : many); }

}  // namespace

void SayLeftOut(const LeftOutReport& r, MessageSink& sink) {
  if (r.outside > 0)
    sink.Print("\nThe table found covers only part of the selection: " + Count(r.outside, "entity", "entities") +
               " outside it left out");
  if (r.dangling > 0)
    sink.Print("\n" + Count(r.dangling, "line that ends", "lines that end") +
               " loose on the table's rules (ticks, marks, dividers) left out");
  if (r.unusedInside > 0)
    sink.Print("\n" + Count(r.unusedInside, "entity", "entities") +
               " inside the table left out: neither rule, cell text nor cell picture");
  if (r.tableExtras > 0)
    sink.Print("\n" + Count(r.tableExtras, "entity that holds", "entities that hold") +
               " the table's rules also " + (r.tableExtras == 1 ? "draws" : "draw") +
               " other things, left out of the cells");
  if (!r.kinds.empty()) {
    std::string kinds;
    for (const auto& [kind, n] : r.kinds) kinds += (kinds.empty() ? "" : ", ") + std::to_string(n) + " " + kind;
    sink.Print("\nLeft out, of kinds the reader does not use: " + kinds);
  }
}

void SayPictureNotCaptured(int row, int col, MessageSink& sink) {
  sink.Print("\nThe picture in row " + std::to_string(row) + ", column " + std::to_string(col) +
             " could not be captured: the cell is read as text");
}

}  // namespace vex
