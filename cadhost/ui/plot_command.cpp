#include "cadhost/ui/plot_command.h"

#include <QGuiApplication>

#include <cstdlib>
#include <filesystem>

#include "cadhost/host/host_control.h"
#include "cadhost/sdk/aced.h"
#include "cadhost/sdk/dbxutil.h"
#include "cadhost/ui/plot.h"

namespace cadhost::ui {
namespace {

// A point prompt's answer in world coordinates; false when not answered.
bool AskWorldPoint(const ads_point base, const char* prompt, Pt& out) {
  ads_point p = {0, 0, 0};
  const int rc = base != nullptr ? acedGetCorner(base, prompt, p) : acedGetPoint(nullptr, prompt, p);
  if (rc != RTNORM) return false;
  ads_point w;
  acdbUcs2Wcs(p, w, false);
  out = {w[X], w[Y]};
  return true;
}

// The keyword answered, `fallback` for ENTER, "" when cancelled.
std::string AskKeyword(const char* prompt, const char* keywords, const char* fallback) {
  acedInitGet(0, keywords);
  char buf[64] = {0};
  const int rc = acedGetKword(prompt, buf, sizeof buf);
  if (rc == RTNONE) return fallback;
  return rc == RTNORM ? std::string(buf) : std::string();
}

void PlotCommand() {
  AcApDocument* doc = acDocManager->curDocument();
  PlotOptions options;
  const std::string area =
      AskKeyword("\nEnter plot area [Extents/Window] <Extents>: ", "Extents Window", "Extents");
  if (area.empty()) return;
  if (area == "Window") {
    Pt a, b;
    if (!AskWorldPoint(nullptr, "\nSpecify first corner: ", a)) return;
    ads_point ucsA = {0, 0, 0};
    ads_point wa = {a.x, a.y, 0};
    acdbWcs2Ucs(wa, ucsA, false);
    if (!AskWorldPoint(ucsA, "\nSpecify opposite corner: ", b)) return;
    options.window = Box::Of(a, b);
  }
  for (;;) {
    std::string typed;
    const int rc = acedGetString(0, "\nEnter plot scale (1:N drawing units per millimetre) or [Fit] <Fit>: ", typed);
    if (rc != RTNORM && rc != RTNONE) return;
    if (rc == RTNONE || typed.empty()) typed = "fit";
    if (typed == "F" || typed == "f") typed = "fit";
    if (const auto n = ParsePlotScale(typed)) {
      options.unitsPerMm = *n;
      break;
    }
    acutPrintf("\nRequires a scale as 1:N (N drawing units per millimetre) or Fit.");
  }
  const std::string colour =
      AskKeyword("\nPlot with line colours? [Yes/No] <Yes>: ", "Yes No", "Yes");
  if (colour.empty()) return;
  options.monochrome = colour == "No";
  std::filesystem::path offered = doc->fileName();
  offered.replace_extension(".pdf");
  if (doc->isUntitled()) offered = std::filesystem::current_path() / offered.filename();
  for (;;) {
    const std::optional<std::string> name = AskFileName(
        "\nEnter file name (.pdf or .png) <" + offered.string() + ">: ", FileChoice::Plot,
        offered.string());
    if (!name) return;
    options.output = name->empty() ? offered.string() : *name;
    if (PlotFormatOf(options.output)) break;
    acutPrintf("\nPlots are written as .pdf or .png files.");
  }
  EnsureGuiApplication();
  std::string error;
  if (Plot(*doc->database(), options, error))
    acutPrintf("\nPlot written to %s", options.output.c_str());
  else
    acutPrintf("\nCannot plot: %s", error.c_str());
}

}  // namespace

bool DisplayAvailable() {
  for (const char* v : {"DISPLAY", "WAYLAND_DISPLAY"}) {
    const char* s = std::getenv(v);
    if (s != nullptr && *s != '\0') return true;
  }
  return false;
}

void EnsureGuiApplication() {
  if (QCoreApplication::instance() != nullptr) return;
  if (!DisplayAvailable() && std::getenv("QT_QPA_PLATFORM") == nullptr)
    qputenv("QT_QPA_PLATFORM", "offscreen");
  // Lives to the end of the process, never destroyed: plotting again reuses it, and at exit
  // the statics it needs may be gone already.
  static int argc = 1;
  static char name[] = "cadhost";
  static char* argv[] = {name, nullptr};
  static QGuiApplication* app = new QGuiApplication(argc, argv);
  (void)app;
}

void AddPlotCommand() { AddHostCommand("PLOT", PlotCommand, true, false); }

}  // namespace cadhost::ui
