#pragma once
// What a read of a table left out, said on the command line: the read is never silently
// partial.

#include <map>
#include <string>

namespace vex {

class MessageSink;

struct LeftOutReport {
  std::map<std::string, int> kinds;  // parts of kinds the reader does not use, by kind
  int dangling = 0;                  // lines ending loose on the table's rules
  int tableExtras = 0;               // rule holders that also draw other things
  int outside = 0;                   // entities lying outside the table
  int unusedInside = 0;              // entities inside the table that are of no cell
};

// Prints one line per kind of loss, nothing when nothing was left out.
void SayLeftOut(const LeftOutReport& report, MessageSink& sink);

// "\nThe picture in row R, column C could not be captured: the cell is read as text"
void SayPictureNotCaptured(int row, int col, MessageSink& sink);

}  // namespace vex
