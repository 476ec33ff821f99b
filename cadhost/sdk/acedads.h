#pragma once
// The host's editor functions: system variables, the file search, the running application,
// the status bar and colours.

#include <cstddef>
#include <string>

#include "cadhost/sdk/adsdef.h"
#include "cadhost/sdk/gegeom.h"
#include "cadhost/sdk/acadstrc.h"

#pragma GCC visibility push(default)

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
// ---- Prompts
//
// Every prompt prints its text on the command line (by custom it begins with "\n") and reads
// one answer from the input by the host's script conventions: a space or a line break ends an
// answer (only a line break for text that may hold spaces), a line beginning with ";" is a
// comment. Results: RTNORM for an answer, RTNONE for ENTER alone, RTKWORD for a keyword given
// to acedInitGet (read it with acedGetInput), RTCAN for ESC or when the input has ended. An
// answer of the wrong kind prints a hint and asks again.
//
// Points are typed "x,y" or "x,y,z" in the user coordinate system; "@dx,dy[,dz]" is relative
// to the last point, "dist<angle" and "@dist<angle" are polar (degrees), "*x,y[,z]" gives
// world coordinates. Points come back in the user coordinate system (acdbUcs2Wcs converts
// them) and become the last point. Angles are typed in degrees and come back in radians.

// Options of the next prompt only.
constexpr int RSG_NONULL = 0x0001;  // ENTER alone is refused
constexpr int RSG_NOZERO = 0x0002;  // zero is refused
constexpr int RSG_NONEG = 0x0004;   // negative values are refused
constexpr int RSG_OTHER = 0x0080;   // any other text comes back as RTKWORD
// Sets options and keywords for the next prompt. Keywords are separated by spaces; the capital
// letters of a keyword are its abbreviation ("Undo" is taken as "U" or "undo"). RTNORM.
int acedInitGet(int options, const ACHAR* keywords);
// The keyword (or other text with RSG_OTHER) of the last prompt that gave RTKWORD. RTNORM, or
// RTERROR when there is none or it does not fit `bufLen` bytes.
int acedGetInput(ACHAR* result, std::size_t bufLen);

// `base`, when given, is the point a rubber band would start from (unused without a window).
int acedGetPoint(const ads_point base, const ACHAR* prompt, ads_point result);
int acedGetCorner(const ads_point base, const ACHAR* prompt, ads_point result);
// A number, or a point whose distance from `base` (or from a second point asked for) counts.
int acedGetDist(const ads_point base, const ACHAR* prompt, ads_real* result);
// Degrees typed, or a point whose direction from `base` counts; radians back.
int acedGetAngle(const ads_point base, const ACHAR* prompt, ads_real* result);
int acedGetReal(const ACHAR* prompt, ads_real* result);
int acedGetInt(const ACHAR* prompt, int* result);
// Text up to ENTER; with `crOnly` spaces are part of it. ENTER alone gives RTNONE and "".
// RTERROR when the text does not fit `bufLen` bytes.
int acedGetString(int crOnly, const ACHAR* prompt, ACHAR* result, std::size_t bufLen);
int acedGetString(int crOnly, const ACHAR* prompt, std::string& result);
// A keyword of acedInitGet, copied to `result`.
int acedGetKword(const ACHAR* prompt, ACHAR* result, std::size_t bufLen);

// The host's colour choice: the dialog of the 255 index colours (with BYLAYER and BYBLOCK
// when `allowMetaColor`), or without a window a prompt on the command line for an index from
// 1 to 255 (0 and 256 too when `allowMetaColor`). True with the new index in `color`, false
// when cancelled. `currentLayerColor` is what BYLAYER stands for.
bool acedSetColorDialog(int& color, bool allowMetaColor, int currentLayerColor);

// ---- Selection sets
//
// A selection set is named by an ads_name that stays valid until acedSSFree; entity names come
// from acdbGetAdsName and acedSSName. At most 128 sets may be open at a time, as in the host.

// Selects entities of the current space (model space with TILEMODE 1, else paper space) that
// are not on frozen or hidden-by-off layers. `mode`:
//   nullptr or ""  the user selects: a picked point, "W" window (wholly inside), "C" crossing
//                  (inside or crossing), a point on nothing starts a window (left to right) or
//                  crossing (right to left), "L" last, "ALL", "P" previous, "R" remove mode,
//                  "A" add mode, ENTER ends; `p1` given instead picks that point
//   "W", "C"       the window between `p1` and `p2` (points in the user coordinate system)
//   "L"            the last entity drawn; "P" the previous selection; "A"/"X" everything
//   "I"            the pick-first selection (none without a window: RTERROR)
//   ":S"           one selection step only
// A leading "_" is ignored. Filters are not supported: a `filter` gives RTERROR. RTNORM with a
// new set in `ss`; RTERROR when nothing was selected or the arguments are wrong; RTCAN on ESC.
int acedSSGet(const ACHAR* mode, const void* p1, const void* p2, const resbuf* filter,
              ads_name ss);
// With both names null: a new empty set. With only `entity`: a new set holding it. With both:
// adds the entity to `set` (once) and gives `set` back. RTERROR for a name that is not an
// entity or not a set.
int acedSSAdd(const ads_name entity, const ads_name set, ads_name result);
// Removes an entity from a set; RTERROR when it is not in it.
int acedSSDel(const ads_name entity, const ads_name set);
// RTNORM when the entity is in the set.
int acedSSMemb(const ads_name entity, const ads_name set);
int acedSSLength(const ads_name set, Adesk::Int32* length);
// The entity at `index` (0-based); RTERROR past the end.
int acedSSName(const ads_name set, Adesk::Int32 index, ads_name entity);
int acedSSFree(const ads_name set);

// ---- Display and placement

// Redraws an entity (or every entity of a set, or with a null name the whole view):
// 1 redraw (shows hidden entities again), 2 hide until the entity is transformed or the view
// is redrawn, 3 highlight, 4 unhighlight. RTERROR for a bad name or mode.
int acedRedraw(const ads_name entity, int mode);
// Drags a selection set: prints `prompt`, and while the cursor moves calls `callback` with the
// cursor point (user coordinates) to fill the matrix the set is shown through; the set itself
// is not changed. Returns like acedGetPoint with the picked point in `result`. A callback
// returning RTERROR ends the drag with RTERROR. Without a window the callback is called once,
// with the point typed.
int acedDragGen(const ads_name set, const ACHAR* prompt, int cursor,
                int (*callback)(ads_point pt, ads_matrix matrix), ads_point result);
// Transforms every entity of a set by a matrix (translation in column 3) and shows hidden ones
// again. All or nothing: RTERROR, with nothing changed, for a bad set, a matrix that does not
// scale equally in every direction, or an entity that cannot be opened for write.
int acedXformSS(const ads_name set, ads_matrix matrix);

// The current user coordinate system as the matrix from user to world coordinates.
Acad::ErrorStatus acedGetCurrentUCS(AcGeMatrix3d& ucsToWorld);
// Sets it; eInvalidInput unless the axes are orthonormal and right-handed, eNotApplicable
// without a drawing.
Acad::ErrorStatus acedSetCurrentUCS(const AcGeMatrix3d& ucsToWorld);

// Tells the drafter something that needs an answer before work goes on: a message box in the
// host's window, the line "\n<text>\n" on the command line without one. RTNORM, or RTERROR
// for a null text.
int acedAlert(const ACHAR* text);

class QWidget;
// Makes the host's user-interface library ready for an application's windows; nothing is
// needed here, the call is kept for applications that make it at load.
void InitAcUiDLL();
// The host's main frame, owner of every window of an application; nullptr without a window.
QWidget* acedGetAcadFrame();
// The host's main window, which takes posted command strings; nullptr without a window (post
// through AcApDocManager::sendStringToExecute then).
QWidget* adsw_acadMainWnd();

#pragma GCC visibility pop
