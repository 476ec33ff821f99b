#include "setup/product_list.h"

#include "platform/text_util.h"
#include "setup/setup_keys.h"

namespace vex::setup {

using platform::RegHive;

ProductList::ProductList(std::vector<ProductRow> rows, RowRef startup) : rows_(std::move(rows)) {
  SetStartup(startup);
}

ProductList ProductList::Build(const platform::Registry& reg, std::vector<HostProduct> products) {
  std::vector<ProductRow> rows;
  for (HostProduct& p : products) {
    ProductRow row;
    for (const std::string& name : p.profiles) {
      const auto value = reg.GetString(RegHive::CurrentUser, ProfileKey(p.release, p.product, name), kSwitchValue);
      row.profiles.push_back({name, value != "FALSE"});
    }
    row.product = std::move(p);
    rows.push_back(std::move(row));
  }
  ProductList list(std::move(rows), {});
  for (int i = 0; i < static_cast<int>(list.rows_.size()); ++i) list.rows_[i].checked = list.AnyProfileChecked(i);

  const auto appName = reg.GetString(RegHive::LocalMachine, StartupKey(), "AppName");
  if (!appName) {
    list.SetStartup({0, -1});
    return list;
  }
  const std::string parameter = reg.GetString(RegHive::LocalMachine, StartupKey(), "Parameter").value_or("");
  for (int i = 0; i < static_cast<int>(list.rows_.size()); ++i) {
    const ProductRow& row = list.rows_[i];
    // Registry names match without regard to case, as the keys they name do.
    if (!platform::EqualsNoCase(row.product.AppName(), *appName)) continue;
    if (parameter.empty()) {
      list.SetStartup({i, -1});
      return list;
    }
    for (int j = 0; j < static_cast<int>(row.profiles.size()); ++j) {
      if (platform::EqualsNoCase(row.profiles[j].name, parameter)) {
        list.SetStartup({i, j});
        return list;
      }
    }
  }
  return list;
}

bool ProductList::Valid(RowRef row) const {
  if (row.product < 0 || row.product >= static_cast<int>(rows_.size())) return false;
  return row.profile >= -1 && row.profile < static_cast<int>(rows_[row.product].profiles.size());
}

bool ProductList::Checked(RowRef row) const {
  if (!Valid(row)) return false;
  const ProductRow& p = rows_[row.product];
  return row.profile < 0 ? p.checked : p.profiles[row.profile].checked;
}

void ProductList::SetChecked(RowRef row, bool checked) {
  if (!Valid(row)) return;
  ProductRow& p = rows_[row.product];
  if (row.profile < 0) {
    p.checked = checked;
    for (ProfileRow& profile : p.profiles) profile.checked = checked;
    return;
  }
  p.profiles[row.profile].checked = checked;
  p.checked = AnyProfileChecked(row.product);
}

bool ProductList::AnyProfileChecked(int product) const {
  if (product < 0 || product >= static_cast<int>(rows_.size())) return false;
  for (const ProfileRow& profile : rows_[product].profiles)
    if (profile.checked) return true;
  return false;
}

void ProductList::SetStartup(RowRef row) { startup_ = Valid(row) ? row : RowRef{}; }

void ProductList::Default() {
  for (ProductRow& p : rows_) {
    p.checked = true;
    for (ProfileRow& profile : p.profiles) profile.checked = true;
  }
  SetStartup({0, -1});
}

}  // namespace vex::setup
