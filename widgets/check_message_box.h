#pragma once
// A message box with a "Do not show again" check box: once the drafter ticks it, the message
// is not shown any more. Where that is remembered is the caller's (a key of the settings file).

#include <QString>
#include <functional>

class QWidget;

namespace vex {

struct RememberedChoice {
  std::function<bool()> suppressed;          // whether the drafter asked not to see it again
  std::function<void()> suppress;            // remember that
};

// Shows an information box with the check box unless the choice says it is suppressed;
// returns whether it was shown. `checkText` is the check box's text ("Do not show again").
bool ShowUnlessSuppressed(QWidget* parent, const QString& caption, const QString& text, const QString& checkText,
                          const RememberedChoice& choice);

}  // namespace vex
