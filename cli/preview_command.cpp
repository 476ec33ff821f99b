#include "cli/preview_command.h"

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>
#include <cstdlib>

#include "cli/arguments.h"
#include "cli/settings_scope.h"
#include "cli/table_input.h"
#include "editor/grid/grid_painter.h"
#include "model/grid_from_table.h"
#include "pictures/image_store.h"
#include "platform/text_util.h"
#include "settings/replacement.h"
#include "settings/settings.h"

namespace vex::cli {
namespace {

constexpr const char* kUsage = "usage: vextable preview TABLE -o OUT.png [--zoom Z] [--ini PATH]\n";

// An image beyond this is refused rather than allocated: a 316-column table at zoom 64 would
// be millions of pixels wide.
constexpr std::int64_t kMaxSide = 32000;
constexpr std::int64_t kMaxPixels = std::int64_t(120) << 20;

// Qt needs a platform even to paint into an image; without a display it draws offscreen.
void ChooseOffscreenWhenHeadless() {
  if (std::getenv("QT_QPA_PLATFORM") || std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY")) return;
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
}

}  // namespace

int RunPreview(const std::vector<std::string>& args) {
  std::string error;
  const auto a = ParseArguments(args, {"-o", "--zoom", "--ini", "--prefix"}, {}, error);
  if (!a || a->positional.size() != 1 || !a->Option("-o")) {
    std::fprintf(stderr, "vextable preview: %s\n%s",
                 !a ? error.c_str() : a->positional.size() != 1 ? "expected one table" : "-o OUT.png is required",
                 kUsage);
    return 2;
  }
  double zoom = 1.0;
  if (auto z = a->Option("--zoom")) {
    char* end = nullptr;
    zoom = std::strtod(z->c_str(), &end);
    if (z->empty() || *end != '\0' || !(zoom > 0)) {
      std::fprintf(stderr, "vextable preview: --zoom takes a number above 0, not \"%s\"\n%s", z->c_str(), kUsage);
      return 2;
    }
    zoom = std::clamp(zoom, kMinZoom, kMaxZoom);
  }

  const SettingsScope scope(a->Option("--ini"));
  if (!scope.problem().empty()) return Fail("preview", scope.problem());
  const TextStyleEntry& style = scope.settings().Table;
  ReplacementList replacements;
  replacements.LoadReplacements(scope.file(), scope.language());

  ImageStore store;
  LoadedTable loaded;
  if (!ReadTableInput("preview", a->Option("--prefix"), a->positional[0], loaded, &store)) return 1;
  TableData table = loaded.table;
  // The editor shows the readable tokens, not the host's codes.
  for (TableRow& row : table.rows)
    for (TableCell& cell : row.cells) cell.strText = replacements.ReverseReplace(std::move(cell.strText));

  ChooseOffscreenWhenHeadless();
  int argc = 1;
  char name[] = "vextable";
  char* argv[] = {name, nullptr};
  QGuiApplication app(argc, argv);

  GridModel grid;
  ApplyFontDefaults(grid, QGuiApplication::font());
  if (!LoadTableIntoGrid(grid, table, zoom, style.Height))
    return Fail("preview", "the table is too large to show (" + std::to_string(table.nRows) + " rows, " +
                               std::to_string(table.nCols) + " columns)");
  const std::int64_t w = grid.Columns().Total(), h = grid.Rows().Total();
  if (w <= 0 || h <= 0) return Fail("preview", "the table has no rows or no columns; nothing to show");
  if (w > kMaxSide || h > kMaxSide || w * h > kMaxPixels)
    return Fail("preview", "the image would be " + std::to_string(w) + " x " + std::to_string(h) +
                               " pixels; choose a smaller --zoom");

  QImage image(static_cast<int>(w), static_cast<int>(h), QImage::Format_RGB32);
  if (image.isNull()) return Fail("preview", "not enough memory for a " + std::to_string(w) + " x " + std::to_string(h) + " image");
  {
    QPainter p(&image);
    GridPainter painter(grid, QGuiApplication::font(), GridColours::Classic());
    painter.SetShowSelection(false);
    painter.Paint(p, GridViewport{0, 0, static_cast<int>(w), static_cast<int>(h)}, image.rect());
  }
  const std::string out = *a->Option("-o");
  if (!image.save(QString::fromStdString(out), "PNG")) return Fail("preview", "cannot write \"" + out + "\"");
  std::printf("Wrote a %lld x %lld preview of a table of %d rows and %d columns to %s\n", static_cast<long long>(w),
              static_cast<long long>(h), table.nRows, table.nCols, out.c_str());
  return 0;
}

}  // namespace vex::cli
