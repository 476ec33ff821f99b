// Prompts: reading points, numbers, angles, text and keywords from the command line.

#include "cadhost/host/prompts.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <numbers>

#include "cadhost/host/input.h"
#include "cadhost/sdk/acedads.h"
#include "cadhost/sdk/acutads.h"
#include "platform/text_util.h"

namespace cadhost {

bool RunCommand(std::string_view name);
struct Command;
const Command* FindCommand(std::string_view name);
bool IsTransparent(const Command* c);

namespace {

enum class Want { Point, Corner, Real, Int, Dist, Angle, String, Keyword };

struct Options {
  int flags = 0;
  std::string keywords;
};

Options g_next;           // set by acedInitGet, taken by the next prompt
std::string g_lastInput;  // what acedGetInput returns
PickedPoint g_lastPick;   // the last pick that answered a point prompt
bool g_lastWasPick = false;

Options TakeOptions() {
  Options o = std::move(g_next);
  g_next = {};
  return o;
}

std::string Abbreviation(std::string_view keyword) {
  std::string a;
  for (char c : keyword)
    if (c >= 'A' && c <= 'Z') a.push_back(c);
  return a;
}

AcGePoint3d ToPoint(const ads_point p) { return {p[X], p[Y], p[Z]}; }
void FromPoint(const AcGePoint3d& p, ads_point out) {
  out[X] = p.x;
  out[Y] = p.y;
  out[Z] = p.z;
}

void Hint(const char* text) { acutPrintf("\n%s", text); }

// Asks until an acceptable answer arrives. `parse` turns text into a result and returns
// nullptr, or returns the hint to print. `pick` takes a picked point and says whether the
// prompt takes one; other prompts wait on for typed input.
template <typename Parse, typename Pick>
int Prompt(const char* prompt, bool spaces, const Options& o, const PromptContext& context,
           Parse parse, Pick pick) {
  const std::string text = prompt != nullptr ? prompt : "";
  bool again = false;  // a pick was not taken: ask on without printing the prompt again
  for (;;) {
    const Answer a = Ask(again ? std::string() : text, spaces, &context);
    again = false;
    if (a.kind == Answer::Kind::Pick) {
      if (pick(a.pick)) return RTNORM;
      again = true;
      continue;
    }
    if (!a.IsText()) return RTCAN;
    const std::string answer =
        spaces ? a.text : std::string(vex::platform::TrimBlanks(a.text));
    if (answer.empty()) {
      if ((o.flags & RSG_NONULL) != 0) continue;
      return RTNONE;
    }
    if (!spaces && answer.size() > 1 && answer.front() == '\'') {
      // A transparent command typed at a prompt runs, then the prompt asks again.
      const Command* c = FindCommand(std::string_view(answer).substr(1));
      if (c != nullptr && IsTransparent(c)) {
        RunCommand(std::string_view(answer).substr(1));
        continue;
      }
    }
    if (const std::string kw = MatchKeyword(answer, o.keywords); !kw.empty()) {
      g_lastInput = kw;
      return RTKWORD;
    }
    const char* hint = parse(answer);
    if (hint == nullptr) return RTNORM;
    if ((o.flags & RSG_OTHER) != 0) {
      g_lastInput = answer;
      return RTKWORD;
    }
    Hint(hint);
  }
}

// Prompts that take no point.
constexpr auto kNoPick = [](const PickedPoint&) { return false; };

PromptContext TypedContext(bool spaces) {
  PromptContext c;
  c.kind = spaces ? PromptContext::Kind::Text : PromptContext::Kind::Other;
  c.spacesAllowed = spaces;
  return c;
}

const char* CheckValue(double v, const Options& o) {
  if ((o.flags & RSG_NOZERO) != 0 && v == 0.0) return "Value must be nonzero.";
  if ((o.flags & RSG_NONEG) != 0 && v < 0.0) return "Value must be positive.";
  return nullptr;
}

void SetLastPoint(const AcGePoint3d& p) {
  if (DocumentState* d = Host::Get().CurrentState()) d->lastPoint = p;
}

int GetPointLike(const PromptContext& context, const ACHAR* prompt, ads_point result,
                 const Options& o) {
  AcGePoint3d got;
  g_lastWasPick = false;
  const auto parse = [&](const std::string& t) -> const char* {
    const auto p = ParsePoint(t, Host::Get().CurrentState());
    if (!p) return "Point or option keyword required.";
    got = *p;
    return nullptr;
  };
  const auto pick = [&](const PickedPoint& p) {
    got = p.point;
    g_lastPick = p;
    g_lastWasPick = true;
    return true;
  };
  const int rc = Prompt(prompt, false, o, context, parse, pick);
  if (rc == RTNORM) {
    SetLastPoint(got);
    if (result != nullptr) FromPoint(got, result);
  }
  return rc;
}

// The second point of a distance or angle typed as two points.
int SecondPoint(const AcGePoint3d& first, AcGePoint3d& second) {
  ads_point p = {0, 0, 0};
  ads_point base;
  FromPoint(first, base);
  const AcGePoint3d from = ToPoint(base);
  const int rc = GetPointLike(PointContext(PromptContext::Kind::Point, &from),
                              "\nSpecify second point: ", p, Options{RSG_NONULL, {}});
  if (rc == RTNORM) second = ToPoint(p);
  return rc;
}

int GetDistOrAngle(const ads_point base, const ACHAR* prompt, ads_real* result, bool angle) {
  const Options o = TakeOptions();
  double value = 0.0;
  std::optional<AcGePoint3d> first;
  AcGePoint3d from;
  if (base != nullptr) from = ToPoint(base);
  const PromptContext context =
      PointContext(PromptContext::Kind::Point, base != nullptr ? &from : nullptr);
  const auto pick = [&](const PickedPoint& p) {
    first = p.point;
    return true;
  };
  const int rc = Prompt(prompt, false, o, context, [&](const std::string& t) -> const char* {
    if (const auto v = ParseReal(t)) {
      value = angle ? *v * std::numbers::pi / 180.0 : *v;
      first.reset();
      return angle ? nullptr : CheckValue(value, o);
    }
    if (const auto p = ParsePoint(t, Host::Get().CurrentState())) {
      first = *p;
      return nullptr;
    }
    return angle ? "Requires valid numeric angle or second point."
                 : "Requires numeric distance or two points.";
  }, pick);
  if (rc != RTNORM) return rc;
  if (first) {
    AcGePoint3d from = *first, to;
    if (base != nullptr) {
      from = ToPoint(base);
      to = *first;
    } else {
      SetLastPoint(*first);
      const int rc2 = SecondPoint(*first, to);
      if (rc2 != RTNORM) return rc2;
    }
    SetLastPoint(to);
    value = angle ? std::atan2(to.y - from.y, to.x - from.x) : from.distanceTo(to);
    if (angle && value < 0) value += 2 * std::numbers::pi;
  }
  if (result != nullptr) *result = value;
  return RTNORM;
}

int CopyOut(const std::string& s, ACHAR* result, std::size_t bufLen) {
  if (result == nullptr || s.size() + 1 > bufLen) return RTERROR;
  std::memcpy(result, s.c_str(), s.size() + 1);
  return RTNORM;
}

PromptAnswer Answered(int rc) {
  PromptAnswer a;
  a.rc = rc;
  if (rc == RTKWORD) a.keyword = g_lastInput;
  return a;
}

}  // namespace

std::optional<double> ParseReal(std::string_view text) {
  std::string_view t = text;
  if (!t.empty() && t.front() == '+') t.remove_prefix(1);
  if (t.empty()) return std::nullopt;
  double v = 0.0;
  const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
  if (ec != std::errc() || end != t.data() + t.size() || !std::isfinite(v)) return std::nullopt;
  return v;
}

std::optional<AcGePoint3d> ParsePoint(std::string_view text, const DocumentState* doc) {
  std::string_view t = text;
  bool relative = false, world = false;
  if (!t.empty() && t.front() == '@') {
    relative = true;
    t.remove_prefix(1);
  }
  if (!t.empty() && t.front() == '*') {
    world = true;
    t.remove_prefix(1);
  }
  const AcGePoint3d last = doc != nullptr ? doc->lastPoint : AcGePoint3d();
  if (relative && t.empty()) return last;
  AcGePoint3d p;
  if (const auto lt = t.find('<'); lt != std::string_view::npos) {
    const auto d = ParseReal(t.substr(0, lt));
    const auto a = ParseReal(t.substr(lt + 1));
    if (!d || !a) return std::nullopt;
    const double rad = *a * std::numbers::pi / 180.0;
    p = {*d * std::cos(rad), *d * std::sin(rad), 0.0};
  } else {
    double c[3] = {0, 0, 0};
    int n = 0;
    while (n < 3) {
      const auto comma = t.find(',');
      const auto v = ParseReal(t.substr(0, comma));
      if (!v) return std::nullopt;
      c[n++] = *v;
      if (comma == std::string_view::npos) break;
      t.remove_prefix(comma + 1);
      if (n == 3) return std::nullopt;  // a fourth coordinate
    }
    if (n < 2) return std::nullopt;
    p = {c[0], c[1], c[2]};
  }
  if (world && doc != nullptr) {
    // "*" gives world coordinates: absolute points are mapped, relative ones rotated.
    const AcGeMatrix3d toUcs = doc->ucs.FromWorld();
    if (relative) {
      AcGeVector3d v = p.asVector();
      p = AcGePoint3d::kOrigin + v.transformBy(toUcs);
    } else {
      p.transformBy(toUcs);
    }
  }
  if (relative) p = last + p.asVector();
  return p;
}

std::string MatchKeyword(std::string_view text, std::string_view keywords) {
  std::string_view rest = keywords;
  while (!rest.empty()) {
    const auto sp = rest.find(' ');
    const std::string_view kw = rest.substr(0, sp);
    rest = sp == std::string_view::npos ? std::string_view() : rest.substr(sp + 1);
    if (kw.empty()) continue;
    const std::string abbr = Abbreviation(kw);
    if (SameName(text, kw) || (!abbr.empty() && SameName(text, abbr))) return std::string(kw);
  }
  return {};
}

PromptContext PointContext(PromptContext::Kind kind, const AcGePoint3d* base) {
  PromptContext c;
  c.kind = kind;
  if (base != nullptr) {
    c.hasBase = true;
    c.base = *base;
  }
  return c;
}

PromptAnswer AskPoint(const std::string& prompt, std::string_view keywords,
                      const PromptContext* context) {
  PromptAnswer out;
  ads_point p = {0, 0, 0};
  const PromptContext plain = PointContext(PromptContext::Kind::Point);
  out.rc = GetPointLike(context != nullptr ? *context : plain, prompt.c_str(), p,
                        Options{0, std::string(keywords)});
  if (out.rc == RTNORM) {
    out.point = ToPoint(p);
    out.picked = g_lastWasPick;
    if (out.picked) out.pick = g_lastPick;
  }
  if (out.rc == RTKWORD) out.keyword = g_lastInput;
  return out;
}

PromptAnswer AskDistance(const std::string& prompt, const AcGePoint3d* base,
                         std::string_view keywords) {
  ads_point b;
  if (base != nullptr) FromPoint(*base, b);
  g_next = {0, std::string(keywords)};
  PromptAnswer out;
  out.rc = GetDistOrAngle(base != nullptr ? b : nullptr, prompt.c_str(), &out.value, false);
  if (out.rc == RTKWORD) out.keyword = g_lastInput;
  return out;
}

PromptAnswer AskReal(const std::string& prompt, std::string_view keywords) {
  g_next = {0, std::string(keywords)};
  PromptAnswer out;
  out.rc = acedGetReal(prompt.c_str(), &out.value);
  if (out.rc == RTKWORD) out.keyword = g_lastInput;
  return out;
}

PromptAnswer AskKeyword(const std::string& prompt, std::string_view keywords) {
  g_next = {0, std::string(keywords)};
  char buf[256];
  const int rc = acedGetKword(prompt.c_str(), buf, sizeof buf);
  PromptAnswer out = Answered(rc == RTNORM ? RTKWORD : rc);
  if (rc == RTNORM) out.keyword = buf;
  return out;
}

void ResetPrompts() {
  g_next = {};
  g_lastInput.clear();
  g_lastWasPick = false;
}

int GetPointIn(const PromptContext& context, const ACHAR* prompt, ads_point result) {
  return GetPointLike(context, prompt, result, TakeOptions());
}

// The point prompts of the SDK: a base given makes a rubber line (a rectangle for corners).
int GetPointPrompt(PromptContext::Kind kind, const ads_point base, const ACHAR* prompt,
                   ads_point result) {
  AcGePoint3d b;
  if (base != nullptr) b = ToPoint(base);
  return GetPointLike(PointContext(kind, base != nullptr ? &b : nullptr), prompt, result,
                      TakeOptions());
}

}  // namespace cadhost

using cadhost::Options;

int acedInitGet(int options, const ACHAR* keywords) {
  cadhost::g_next = {options, keywords != nullptr ? keywords : ""};
  return RTNORM;
}

int acedGetInput(ACHAR* result, std::size_t bufLen) {
  if (cadhost::g_lastInput.empty()) return RTERROR;
  return cadhost::CopyOut(cadhost::g_lastInput, result, bufLen);
}

int acedGetPoint(const ads_point base, const ACHAR* prompt, ads_point result) {
  return cadhost::GetPointPrompt(cadhost::PromptContext::Kind::Point, base, prompt, result);
}

int acedGetCorner(const ads_point base, const ACHAR* prompt, ads_point result) {
  return cadhost::GetPointPrompt(base != nullptr ? cadhost::PromptContext::Kind::Corner
                                                 : cadhost::PromptContext::Kind::Point,
                                 base, prompt, result);
}

int acedGetDist(const ads_point base, const ACHAR* prompt, ads_real* result) {
  return cadhost::GetDistOrAngle(base, prompt, result, false);
}

int acedGetAngle(const ads_point base, const ACHAR* prompt, ads_real* result) {
  return cadhost::GetDistOrAngle(base, prompt, result, true);
}

int acedGetReal(const ACHAR* prompt, ads_real* result) {
  const Options o = cadhost::TakeOptions();
  double v = 0;
  const int rc = cadhost::Prompt(prompt, false, o, cadhost::TypedContext(false),
                                [&](const std::string& t) -> const char* {
    const auto r = cadhost::ParseReal(t);
    if (!r) return "Requires numeric value.";
    v = *r;
    return cadhost::CheckValue(v, o);
  }, cadhost::kNoPick);
  if (rc == RTNORM && result != nullptr) *result = v;
  return rc;
}

int acedGetInt(const ACHAR* prompt, int* result) {
  const Options o = cadhost::TakeOptions();
  int v = 0;
  const int rc = cadhost::Prompt(prompt, false, o, cadhost::TypedContext(false),
                                [&](const std::string& t) -> const char* {
    const auto r = cadhost::ParseReal(t);
    if (!r || *r != std::floor(*r) || *r < -32768 || *r > 32767)
      return "Requires an integer value.";
    v = static_cast<int>(*r);
    return cadhost::CheckValue(v, o);
  }, cadhost::kNoPick);
  if (rc == RTNORM && result != nullptr) *result = v;
  return rc;
}

int acedGetString(int crOnly, const ACHAR* prompt, std::string& result) {
  cadhost::TakeOptions();
  result.clear();
  const int rc = cadhost::Prompt(prompt, crOnly != 0, Options{},
                                cadhost::TypedContext(crOnly != 0), [&](const std::string& t) {
    result = t;
    return static_cast<const char*>(nullptr);
  }, cadhost::kNoPick);
  return rc == RTKWORD ? RTNORM : rc;
}

int acedGetString(int crOnly, const ACHAR* prompt, ACHAR* result, std::size_t bufLen) {
  std::string s;
  const int rc = acedGetString(crOnly, prompt, s);
  if (rc != RTNORM && rc != RTNONE) return rc;
  return cadhost::CopyOut(s, result, bufLen) == RTNORM ? rc : RTERROR;
}

int acedGetKword(const ACHAR* prompt, ACHAR* result, std::size_t bufLen) {
  const Options o = cadhost::TakeOptions();
  const int rc = cadhost::Prompt(prompt, false, o, cadhost::TypedContext(false),
                                [](const std::string&) { return "Invalid option keyword."; },
                                cadhost::kNoPick);
  if (rc != RTKWORD) return rc;
  return cadhost::CopyOut(cadhost::g_lastInput, result, bufLen);
}

bool acedSetColorDialog(int& color, bool allowMetaColor, int currentLayerColor) {
  if (cadhost::Host::Get().UseDialogs()) {
    const std::optional<int> chosen =
        cadhost::Host::Get().window->ChooseColor(color, allowMetaColor, currentLayerColor);
    if (!chosen) return false;
    color = *chosen;
    return true;
  }
  static const char* const kNames[] = {"", "red", "yellow", "green", "cyan", "blue", "magenta",
                                       "white"};
  const std::string prompt = "\nEnter color name or number (1-255" +
                             std::string(allowMetaColor ? ", BYLAYER, BYBLOCK" : "") + ") <" +
                             std::to_string(color) + ">: ";
  int chosen = color;
  const int rc = cadhost::Prompt(prompt.c_str(), false, Options{}, cadhost::TypedContext(false),
                                [&](const std::string& t) {
    const char* hint = "Requires a color number from 1 to 255 or a color name.";
    if (const auto v = cadhost::ParseReal(t)) {
      const int i = static_cast<int>(*v);
      if (*v != i || i < (allowMetaColor ? 0 : 1) || i > (allowMetaColor ? 256 : 255))
        return hint;
      chosen = i;
      return static_cast<const char*>(nullptr);
    }
    for (int i = 1; i <= 7; ++i)
      if (cadhost::SameName(t, kNames[i])) {
        chosen = i;
        return static_cast<const char*>(nullptr);
      }
    if (allowMetaColor && cadhost::SameName(t, "BYLAYER")) chosen = 256;
    else if (allowMetaColor && cadhost::SameName(t, "BYBLOCK")) chosen = 0;
    else return hint;
    return static_cast<const char*>(nullptr);
  }, cadhost::kNoPick);
  if (rc != RTNORM && rc != RTNONE) return false;
  color = chosen;
  return true;
}
