#pragma once
// Reading typed input by the host's script conventions.

#include <string>

#include "cadhost/host/host_control.h"

namespace cadhost {

struct Answer {
  enum class Kind {
    Text,    // `text` was typed and ended by ENTER ("" is ENTER alone)
    Pick,    // a point was picked with the mouse: `pick`
    Cancel,  // ESC
    End,     // the input has ended for good
  };
  Kind kind = Kind::End;
  std::string text;
  PickedPoint pick;
  bool IsEnter() const { return kind == Kind::Text && text.empty(); }
  bool IsText() const { return kind == Kind::Text; }
};

// Reads one answer. A line break ends it; so do a space or a tab unless `spacesAllowed`. A
// line beginning with ';' is skipped whole. ESC drops what was typed and cancels. A pick drops
// what was typed and answers. The end of input ends a partly typed answer like ENTER; after
// that every read gives End.
Answer ReadAnswer(bool spacesAllowed);

// Prints `prompt` on the command line, reads an answer and writes it after the prompt, so that
// the command line shows the dialogue as it happened ("*Cancel*" for ESC and for the end; a
// pick writes nothing). A window is told `context` while the prompt waits.
Answer Ask(const std::string& prompt, bool spacesAllowed = false,
           const PromptContext* context = nullptr);

// Drops everything not yet read: posted text, the script, typed text and the source.
void DiscardInput();

}  // namespace cadhost
