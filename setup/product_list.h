#pragma once
// The product list of the setup window without the window: each host product with its
// profiles, one tick per row, and the one row chosen for start-up. The window shows it and
// hands clicks to it; Apply writes it to the registry.

#include <string>
#include <vector>

#include "platform/registry.h"
#include "setup/host_products.h"

namespace vex::setup {

// The text the start-up row shows in the second column (the drop-down's only choice).
inline constexpr std::string_view kStartupChoice = "Set this to startup.";

struct ProfileRow {
  std::string name;
  bool checked = true;
};

struct ProductRow {
  HostProduct product;
  bool checked = false;
  std::vector<ProfileRow> profiles;
};

// A row of the list: a product's own row (profile -1) or one of its profile rows. The default
// value names no row.
struct RowRef {
  int product = -1;
  int profile = -1;
  bool operator==(const RowRef&) const = default;
};

class ProductList {
 public:
  ProductList() = default;
  ProductList(std::vector<ProductRow> rows, RowRef startup);

  // The list as the window opens it: a profile ticked unless its "LoadVexTable" is "FALSE"
  // (missing counts as on), a product ticked when one of its profiles is; the start-up row is
  // the one "AppName" and "Parameter" name (the product's row for an empty "Parameter"), or
  // the first product's row when no "AppName" is stored.
  static ProductList Build(const platform::Registry& reg, std::vector<HostProduct> products);

  const std::vector<ProductRow>& Rows() const { return rows_; }
  bool Valid(RowRef row) const;
  bool Checked(RowRef row) const;
  // Ticking a product's row ticks or unticks all its profiles with it; ticking a profile's row
  // leaves its product ticked while at least one of its profiles is. Invalid rows are ignored.
  void SetChecked(RowRef row, bool checked);
  bool AnyProfileChecked(int product) const;

  RowRef Startup() const { return startup_; }
  bool IsStartup(RowRef row) const { return Valid(row) && row == startup_; }
  // Makes `row` the one start-up row; an invalid row leaves no row chosen.
  void SetStartup(RowRef row);

  // The Default button: every product and profile ticked, the first product's row chosen for
  // start-up.
  void Default();

 private:
  std::vector<ProductRow> rows_;
  RowRef startup_;
};

}  // namespace vex::setup
