#include "cadhost/ui/view_commands.h"

#include "cadhost/host/host_control.h"
#include "cadhost/sdk/aced.h"
#include "cadhost/sdk/dbxutil.h"
#include "cadhost/ui/drawing_view.h"
#include "cadhost/ui/main_window.h"

namespace cadhost::ui {
namespace {

Pt World(const ads_point ucs) {
  ads_point w;
  acdbUcs2Wcs(ucs, w, false);
  return {w[X], w[Y]};
}

void ZoomCommand() {
  MainWindow* window = MainWindow::Instance();
  DrawingView* view = window != nullptr ? window->CurrentView() : nullptr;
  if (view == nullptr) return;
  acedInitGet(0, "Extents Window");
  ads_point a = {0, 0, 0}, b = {0, 0, 0};
  int rc = acedGetPoint(nullptr, "\nSpecify corner of window or [Extents/Window] <Extents>: ", a);
  if (rc == RTKWORD) {
    char kw[32] = {0};
    acedGetInput(kw, sizeof kw);
    if (std::string(kw) == "Extents") rc = RTNONE;
    else rc = acedGetPoint(nullptr, "\nSpecify first corner: ", a);
  }
  if (rc == RTNONE) {
    view->ZoomExtents();
    return;
  }
  if (rc != RTNORM) return;
  if (acedGetCorner(a, "\nSpecify opposite corner: ", b) != RTNORM) return;
  view->ZoomWindow(Box::Of(World(a), World(b)));
}

}  // namespace

void AddViewCommands() { AddHostCommand("ZOOM", ZoomCommand, true, false); }

}  // namespace cadhost::ui
