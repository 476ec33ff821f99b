#pragma once
// The dialog text pass: a window's caption and its controls' texts from the active language
// pack, keyed "IDD<dialog>_Title" and "IDD<dialog>_<control>". Each window marks its controls
// with their resource identifiers; a key the pack lacks leaves the text the window gave.

#include <QString>

#include <string>

class QWidget;

namespace vex {

class LanguagePack;

// Gives `control` its resource identifier, so that the text pass finds it.
void SetControlId(QWidget* control, int id);
// The identifier given by SetControlId, or 0.
int ControlId(const QWidget* control);
// The child of `window` with the identifier, or nullptr.
QWidget* ControlById(const QWidget* window, int id);

// Sets the caption from "IDD<dialogId>_Title" and, for every marked child (buttons, labels,
// group boxes), its text from "IDD<dialogId>_<id>", each only when the pack has the key.
// Backslash-n pairs stay as they are.
void ApplyDialogTexts(QWidget* window, int dialogId, const LanguagePack& language);

// UTF-8 to QString.
inline QString QtText(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

}  // namespace vex
