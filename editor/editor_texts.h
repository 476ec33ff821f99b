#pragma once
// The editor's texts from the active language pack, and the few texts the packs have no key
// for (undo, redo, the editor's own messages): those are looked up by a key of their own
// first, so that a pack may carry them, and otherwise given in the pack's language.

#include <QString>

#include <string_view>

namespace vex {

class LanguagePack;

// The pack's text of `key` ("Not found" when missing, as every lookup gives).
QString PackText(const LanguagePack& language, std::string_view key);

// A text the packs may lack: the pack's text of `key` when it has one, else the built-in
// text in Chinese when the active language is "Chinese", in English otherwise.
QString EditorText(const LanguagePack& language, std::string_view key);

// A menu text splits at its TAB into the caption (with its "&" mnemonic) and the accelerator
// text ("Ctrl+O").
struct MenuText {
  QString caption;
  QString accelerator;
};
MenuText SplitMenuText(const QString& text);

}  // namespace vex
