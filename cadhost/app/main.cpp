// cadhost: the stand-in CAD host.
//
//   cadhost [--script FILE] [/p PROFILE] [/b SCRIPT] [--gui] [DRAWING...]
//   cadhost --plot OUT [--scale 1:N|fit] [--area X1,Y1,X2,Y2] [--mono] [--dpi N] DRAWING
//
// With a display (or --gui) and no --script, opens the host's window with the drawings (or a
// new one). Without: headless, as a script host: opens DRAWING (or a new drawing), registers
// the host in the registry, makes PROFILE the current profile, loads the applications of the
// registry's demand-load entries, then reads commands from FILE (or standard input) by the
// host's script conventions and ends when the input ends or at QUIT. /b runs SCRIPT first, in
// either mode. --plot writes DRAWING to OUT (.pdf or .png) without a window.
// Exit status 0; 1 when the script or the drawing cannot be opened or the plot fails; 2 for a
// wrong command line; 3 when an application's command crashed (see the host's fault guard).

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "cadhost/host/host_control.h"
#include "cadhost/sdk/aced.h"
#include "cadhost/ui/main_window.h"
#include "cadhost/ui/plot.h"
#include "cadhost/ui/plot_command.h"

namespace {

constexpr const char* kUsage =
    "usage: cadhost [--script FILE] [/p PROFILE] [/b SCRIPT] [--gui] [DRAWING...]\n"
    "       cadhost --plot OUT.pdf|OUT.png [--scale 1:N|fit] [--area X1,Y1,X2,Y2] [--mono]"
    " [--dpi N] DRAWING\n";

struct Arguments {
  std::string script;
  std::string profile;
  std::string startScript;
  std::vector<std::string> drawings;
  bool gui = false;
  bool plot = false;
  cadhost::ui::PlotOptions plotOptions;
};

bool ParseArea(const std::string& text, cadhost::ui::Box& box) {
  double v[4];
  const char* p = text.c_str();
  for (int i = 0; i < 4; ++i) {
    char* end = nullptr;
    v[i] = std::strtod(p, &end);
    if (end == p || (i < 3 && *end != ',') || (i == 3 && *end != '\0')) return false;
    p = end + 1;
  }
  box = cadhost::ui::Box::Of({v[0], v[1]}, {v[2], v[3]});
  return box.Width() > 0 || box.Height() > 0;
}

// False, with the reason in `error`, for a command line the program cannot follow.
bool Parse(int argc, char** argv, Arguments& args, std::string& error) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto value = [&](std::string& into) {
      if (i + 1 >= argc) {
        error = a + " needs a value";
        return false;
      }
      into = argv[++i];
      return true;
    };
    std::string v;
    if (a == "--script") {
      if (!value(args.script)) return false;
    } else if (a == "/p" || a == "/P" || a == "-p") {
      if (!value(args.profile)) return false;
    } else if (a == "/b" || a == "/B") {
      if (!value(args.startScript)) return false;
    } else if (a == "--gui") {
      args.gui = true;
    } else if (a == "--plot") {
      args.plot = true;
      if (!value(args.plotOptions.output)) return false;
    } else if (a == "--scale") {
      if (!value(v)) return false;
      const auto n = cadhost::ui::ParsePlotScale(v);
      if (!n) {
        error = "--scale takes 1:N or fit, not " + v;
        return false;
      }
      args.plotOptions.unitsPerMm = *n;
    } else if (a == "--area") {
      if (!value(v)) return false;
      cadhost::ui::Box box;
      if (!ParseArea(v, box)) {
        error = "--area takes X1,Y1,X2,Y2, not " + v;
        return false;
      }
      args.plotOptions.window = box;
    } else if (a == "--mono") {
      args.plotOptions.monochrome = true;
    } else if (a == "--dpi") {
      if (!value(v)) return false;
      char* end = nullptr;
      const double dpi = std::strtod(v.c_str(), &end);
      if (end == v.c_str() || *end != '\0' || !(dpi >= 10 && dpi <= 2400)) {
        error = "--dpi takes a number from 10 to 2400, not " + v;
        return false;
      }
      args.plotOptions.dpi = dpi;
    } else if (!a.empty() && a[0] == '-' && a != "-") {
      error = "unknown option " + a;
      return false;
    } else {
      args.drawings.push_back(a);
    }
  }
  if (args.plot && (!args.script.empty() || args.drawings.size() != 1)) {
    error = "--plot takes exactly one drawing and no script";
    return false;
  }
  if (args.plot && !cadhost::ui::PlotFormatOf(args.plotOptions.output)) {
    error = "--plot writes .pdf or .png files, not " + args.plotOptions.output;
    return false;
  }
  return true;
}

int PlotDrawing(const Arguments& args) {
  cadhost::ui::EnsureGuiApplication();
  AcDbDatabase db(false);
  if (db.readDwgFile(args.drawings[0].c_str()) != Acad::eOk) {
    std::fprintf(stderr, "cadhost: cannot open drawing %s: %s\n", args.drawings[0].c_str(),
                 db.lastFileReport().message.c_str());
    return 1;
  }
  std::string error;
  if (!cadhost::ui::Plot(db, args.plotOptions, error)) {
    std::fprintf(stderr, "cadhost: cannot plot %s: %s\n", args.drawings[0].c_str(), error.c_str());
    return 1;
  }
  return 0;
}

// The host without a window, reading commands as a script host does.
int RunHeadless(const Arguments& args) {
  if (args.drawings.size() > 1) {
    std::fprintf(stderr, "cadhost: more than one drawing named: %s and %s\n%s",
                 args.drawings[0].c_str(), args.drawings[1].c_str(), kUsage);
    return 2;
  }
  const std::string drawing = args.drawings.empty() ? std::string() : args.drawings[0];
  std::FILE* script = stdin;
  if (!args.script.empty()) {
    script = std::fopen(args.script.c_str(), "rb");
    if (script == nullptr) {
      std::fprintf(stderr, "cadhost: cannot open script %s: %s\n", args.script.c_str(),
                   std::strerror(errno));
      return 1;
    }
  }
  cadhost::SetInputSource(cadhost::MakeFileInputSource(script));

  const Acad::ErrorStatus es = drawing.empty()
                                   ? acDocManager->appContextNewDocument(nullptr)
                                   : acDocManager->appContextOpenDocument(drawing.c_str());
  if (es != Acad::eOk) {
    const std::string& why = acDocManager->lastOpenReport().message;
    std::fprintf(stderr, "cadhost: cannot open drawing %s: %s\n", drawing.c_str(),
                 why.empty() ? acadErrorStatusText(es) : why.c_str());
    return 1;
  }

  cadhost::StartOptions options;
  options.profile = args.profile;
  cadhost::StartHost(options);
  cadhost::ui::AddPlotCommand();
  if (!args.startScript.empty()) {
    std::string error;
    if (!cadhost::StartScript(args.startScript, error))
      acutPrintf("\nCannot open script %s: %s", args.startScript.c_str(), error.c_str());
  }
  cadhost::RunCommandLine();

  for (int i = 0; i < acDocManager->documentCount(); ++i) {
    const AcApDocument* doc = acDocManager->documentAt(i);
    if (doc->isModified()) acutPrintf("\n%s: changes not saved.", doc->docTitle());
  }
  cadhost::ResetHost();
  std::fputs("\n", stdout);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  Arguments args;
  std::string error;
  if (!Parse(argc, argv, args, error)) {
    std::fprintf(stderr, "cadhost: %s\n%s", error.c_str(), kUsage);
    return 2;
  }
  if (args.plot) return PlotDrawing(args);
  if (args.script.empty() && (args.gui || cadhost::ui::DisplayAvailable())) {
    cadhost::ui::WindowStart start;
    start.profile = args.profile;
    start.startScript = args.startScript;
    start.drawings = args.drawings;
    return cadhost::ui::RunMainWindow(argc, argv, start);
  }
  return RunHeadless(args);
}
