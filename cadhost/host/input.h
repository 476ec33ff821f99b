#pragma once
// Reading typed input by the host's script conventions.

#include <string>

namespace cadhost {

struct Answer {
  enum class Kind {
    Text,    // `text` was typed and ended by ENTER ("" is ENTER alone)
    Cancel,  // ESC
    End,     // the input has ended for good
  };
  Kind kind = Kind::End;
  std::string text;
  bool IsEnter() const { return kind == Kind::Text && text.empty(); }
  bool IsText() const { return kind == Kind::Text; }
};

// Reads one answer. A line break ends it; so do a space or a tab unless `spacesAllowed`. A
// line beginning with ';' is skipped whole. ESC drops what was typed and cancels. The end of
// input ends a partly typed answer like ENTER; after that every read gives End.
Answer ReadAnswer(bool spacesAllowed);

// Prints `prompt` on the command line, reads an answer and writes it after the prompt, so that
// the command line shows the dialogue as it happened ("*Cancel*" for ESC and for the end).
Answer Ask(const std::string& prompt, bool spacesAllowed = false);

// Drops everything not yet read: posted text, typed text and the source.
void DiscardInput();

}  // namespace cadhost
