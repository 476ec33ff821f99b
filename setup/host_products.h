#pragma once
// The installed host releases and products as the host's registry keys tell them.

#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"

namespace vex::setup {

struct HostProduct {
  std::string release;   // the release key ("R16.0")
  std::string product;   // the product key under it ("CADHOST-1:409")
  std::string location;  // "AcadLocation": the host program's folder; "" when missing
  std::string name;      // "ProductName"
  std::string language;  // "Language"
  std::vector<std::string> profiles;  // the user's profiles (HKCU), in key order

  // The release and product keys joined by '\', as "AppName" stores them.
  std::string AppName() const { return release + "\\" + product; }
  // A file or folder in the host program's folder; "" when the location is missing.
  std::string InLocation(std::string_view name) const;
  // "AcadLocation" + "/Fonts"; "" when the location is missing.
  std::string FontFolder() const { return InLocation("Fonts"); }
  // The product list's text of the product: "ProductName_Language".
  std::string Text() const { return name + "_" + language; }
};

// Every product of every release under HKLM "Software\Autodesk\AutoCAD", releases and products
// in key order, each with its profiles. Keys that cannot be read are skipped; missing values
// read as "".
std::vector<HostProduct> FindHostProducts(const platform::Registry& reg);

}  // namespace vex::setup
