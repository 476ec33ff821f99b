#pragma once
// The prompts behind acedGetPoint and the others, for the host's own commands too.

#include <optional>
#include <string>
#include <string_view>

#include "cadhost/host/host_state.h"
#include "cadhost/sdk/adsdef.h"

namespace cadhost {

// A number as typed ("12", "-0.5", "1e3"); nothing for anything else, infinities and NaN.
std::optional<double> ParseReal(std::string_view text);
// A point as typed (see acedads.h), in user coordinates of `doc` (which gives the last point
// and the UCS for "*" points; nullptr: world, last point at the origin).
std::optional<AcGePoint3d> ParsePoint(std::string_view text, const DocumentState* doc);

// Answers of a prompt of the host's own commands.
struct PromptAnswer {
  int rc = RTCAN;           // RTNORM, RTNONE, RTKWORD, RTCAN
  AcGePoint3d point;        // RTNORM of a point prompt, user coordinates
  double value = 0.0;       // RTNORM of a number prompt
  std::string keyword;      // RTKWORD: the keyword as listed
  bool picked = false;      // the point was picked with the mouse
  PickedPoint pick;         // then: its pick box and Shift
};

// A point, a keyword of `keywords` (space-separated, capitals abbreviate) or ENTER. A window
// answers it as `context` says (a plain point without a base when none is given).
PromptAnswer AskPoint(const std::string& prompt, std::string_view keywords = {},
                      const PromptContext* context = nullptr);
// acedGetPoint with a context of its own: the options of acedInitGet apply.
int GetPointIn(const PromptContext& context, const ACHAR* prompt, ads_point result);
// The context of a point prompt of `kind`, from `base` when given.
PromptContext PointContext(PromptContext::Kind kind, const AcGePoint3d* base = nullptr);
// A number or a point (a distance from `base`), or ENTER.
PromptAnswer AskDistance(const std::string& prompt, const AcGePoint3d* base,
                         std::string_view keywords = {});
// A number (or a keyword), or ENTER.
PromptAnswer AskReal(const std::string& prompt, std::string_view keywords = {});
// A keyword of `keywords` or ENTER (RTNONE); anything else asks again.
PromptAnswer AskKeyword(const std::string& prompt, std::string_view keywords);
// The keyword of `keywords` that `text` names, or "".
std::string MatchKeyword(std::string_view text, std::string_view keywords);

}  // namespace cadhost
