// cadhost: the stand-in CAD host without a window.
//
//   cadhost [--script FILE] [/p PROFILE] [DRAWING]
//
// Opens DRAWING (or a new drawing), registers the host in the registry, makes PROFILE the
// current profile, loads the applications of the registry's demand-load entries, then reads
// commands from FILE (or standard input) by the host's script conventions and ends when the
// input ends or at QUIT. Exit status 0; 1 when the script or the drawing cannot be opened;
// 2 for a wrong command line.

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "cadhost/host/host_control.h"
#include "cadhost/sdk/aced.h"

namespace {

constexpr const char* kUsage = "usage: cadhost [--script FILE] [/p PROFILE] [DRAWING]\n";

struct Arguments {
  std::string script;
  std::string profile;
  std::string drawing;
};

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
    if (a == "--script") {
      if (!value(args.script)) return false;
    } else if (a == "/p" || a == "/P" || a == "-p") {
      if (!value(args.profile)) return false;
    } else if (!a.empty() && a[0] == '-' && a != "-") {
      error = "unknown option " + a;
      return false;
    } else if (args.drawing.empty()) {
      args.drawing = a;
    } else {
      error = "more than one drawing named: " + args.drawing + " and " + a;
      return false;
    }
  }
  return true;
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

  const Acad::ErrorStatus es = args.drawing.empty()
                                   ? acDocManager->appContextNewDocument(nullptr)
                                   : acDocManager->appContextOpenDocument(args.drawing.c_str());
  if (es != Acad::eOk) {
    const std::string& why = acDocManager->lastOpenReport().message;
    std::fprintf(stderr, "cadhost: cannot open drawing %s: %s\n", args.drawing.c_str(),
                 why.empty() ? acadErrorStatusText(es) : why.c_str());
    return 1;
  }

  cadhost::StartOptions options;
  options.profile = args.profile;
  cadhost::StartHost(options);
  cadhost::RunCommandLine();

  for (int i = 0; i < acDocManager->documentCount(); ++i) {
    const AcApDocument* doc = acDocManager->documentAt(i);
    if (doc->isModified()) acutPrintf("\n%s: changes not saved.", doc->docTitle());
  }
  cadhost::ResetHost();
  std::fputs("\n", stdout);
  return 0;
}
