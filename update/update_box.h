#pragma once
// The about box and the update check's result box, both HTML message boxes whose links open
// in the browser. The check runs off the window thread (it may take up to its timeout) and its
// box shows when the answer arrives.

#include <QString>

#include "update/update_check.h"

class QWidget;

namespace vex {

// The about box, modal.
void ShowAboutBox(QWidget* parent, const WebLinks& links);

// The caption of the update check's box.
QString UpdateBoxCaption();

// Starts the update check of `links` with `download`; its box opens (not modal to the
// program) over `parent` when the answer arrives, or on its own when `parent` is gone by then.
void StartUpdateCheck(QWidget* parent, const WebLinks& links, Downloader download = InternetDownloader());

// Waits for the checks still running and drops their boxes not shown yet (at unload: their
// code goes away with the plug-in).
void WaitForUpdateChecks();

}  // namespace vex
