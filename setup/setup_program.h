#pragma once
// The setup program's course: its product key, then by the first parameter "all" (register
// every product), "start" (start the chosen host) or anything else (the setup window).

#include <functional>
#include <string>
#include <string_view>

#include "platform/registry.h"
#include "setup/product_list.h"
#include "setup/start_host.h"

namespace vex::setup {

enum class SetupMode { kAll, kStart, kWindow };

// "all" and "start" (exactly so); anything else, or no parameter, opens the window.
SetupMode ModeOf(std::string_view firstParameter);

// Applies a product list to the registry; the window's OK calls it.
using ApplyList = std::function<Result(const ProductList&)>;

// What the setup program shows.
class SetupUi {
 public:
  virtual ~SetupUi() = default;
  // A message box the user acknowledges.
  virtual void Message(std::string_view text) = 0;
  // Whether the setup window can be shown (there is a display to show it on).
  virtual bool CanShowWindow() const = 0;
  // The setup window over `list`, modal: OK applies it through `apply`.
  virtual void ShowProducts(ProductList list, const ApplyList& apply) = 0;
};

// Runs the program; the exit status: 0 done, 1 nothing found or a failure (told through
// `ui`), 2 the window was asked for and cannot be shown (nothing beyond the product key is
// written then). `installFolder` is the setup program's folder, ending in
// '/'. When a hive file has problems, they are told and nothing is written.
int RunSetup(SetupMode mode, platform::Registry& reg, const std::string& installFolder, SetupUi& ui,
             ProgramStarter& starter);

}  // namespace vex::setup
