#pragma once
// The host's editor functions: system variables, the file search, the running application,
// the status bar and colours.

#include <cstddef>
#include <string>

#include "cadhost/sdk/adsdef.h"

// Reads a system variable into `result` (one buffer; a string value is allocated with malloc
// and belongs to the caller, see acutRelRb). RTNORM, or RTERROR for an unknown name or a null
// argument. Variables: TILEMODE (RTSHORT, 1 model space, 0 paper space), CLAYER, DWGNAME,
// DWGPREFIX, ACADVER (RTSTR), TEXTSIZE (RTREAL), FILEDIA, CMDECHO, PICKBOX (RTSHORT),
// LASTPOINT, UCSORG, UCSXDIR, UCSYDIR (RT3DPOINT), DBMOD (RTSHORT).
int acedGetVar(const ACHAR* name, resbuf* result);
// Sets a system variable. RTNORM, or RTERROR for an unknown or read-only name, a value of the
// wrong kind or out of range (TILEMODE takes 0 or 1, CLAYER an existing layer).
int acedSetVar(const ACHAR* name, const resbuf* value);

// The host's file search: a name with a '/' is checked as it is; otherwise it is looked for in
// the current drawing's folder, the host's program folder, its "Support" and "Fonts" folders
// and the support folders of the host application services, in that order, first with the
// exact name and then ignoring ASCII case. RTNORM with the full path; RTERROR when not found,
// for null arguments, or when the path does not fit `bufLen` bytes with its terminating zero.
int acedFindFile(const ACHAR* name, ACHAR* result, std::size_t bufLen);
int acedFindFile(const ACHAR* name, std::string& result);

// The full path of the running application: the one whose acrxEntryPoint or command the host
// is calling now (when one application loads another from its kInitAppMsg, the inner one while
// it initialises, then the outer one again). "" when no application code is running.
const ACHAR* acedGetAppName();

// The status-bar progress meter. Shows `label` and a meter running from `minPos` to `maxPos`;
// 0, or -1 when maxPos < minPos.
int acedSetStatusBarProgressMeter(const ACHAR* label, int minPos, int maxPos);
// Moves the meter (clamped to its range); 0, or -1 when no meter is shown.
int acedSetStatusBarProgressMeterPos(int pos);
// Removes the meter and shows the ordinary status bar again.
void acedRestoreStatusBar();

// The colour of an index of the standard 255-colour palette, as 0x00RRGGBB. Indexes 0
// (BYBLOCK) and 256 (BYLAYER) give the colour of 7; anything else outside 1..255 gives 0.
unsigned long acedGetRGB(int colorIndex);
class QWidget;
// The host's main frame, owner of every window of an application; nullptr without a window.
QWidget* acedGetAcadFrame();
// The host's main window, which takes posted command strings; nullptr without a window (post
// through AcApDocManager::sendStringToExecute then).
QWidget* adsw_acadMainWnd();
