#pragma once
// The setup program's writes: VexTable's product key, the hosts' demand-load entries, the
// profile switches, the start-up choice and the font copies. Every write goes through the
// registry stand-in, which replaces a hive file atomically; when a hive file has problems
// nothing at all is written and the problem is returned.

#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"
#include "setup/host_products.h"
#include "setup/product_list.h"

namespace vex::setup {

// `installFolder` in every call is the folder of the setup program, ending in '/'.

// "Version", "ProductName" and "InstallPath" of the product key, and its subkeys R14 and R15
// (Commands, Groups, Name and Loader with MODULE) for the hosts that find the loader there.
Result WriteProductKey(platform::Registry& reg, std::string_view installFolder);

// The product's demand-load entry: "LOADCTRLS" 2 and, for release R16, "LOADER" (the Sys16
// loader) with the subkeys Commands and Groups; for other releases "REGPATH", the product
// key's subkey of the release.
Result RegisterDemandLoad(platform::Registry& reg, const HostProduct& product, std::string_view installFolder);
// Removes the product's demand-load entry with all its subkeys.
Result RemoveDemandLoad(platform::Registry& reg, const HostProduct& product);
// "AppName" (the product's release and product keys) and "Parameter" (a profile name, "" for
// the product's current profile).
Result SetStartup(platform::Registry& reg, const HostProduct& product, std::string_view profile);

// Copies the two shape fonts from "<install>support/" into the product's font folder,
// replacing what is there. A copy that fails is skipped (an unwritable or missing folder, a
// product without "AcadLocation"); the number of fonts copied is returned.
int CopyFonts(std::string_view installFolder, const HostProduct& product);

// What a walk over the installed products found and, when it wrote, how the writing went.
struct Registration {
  std::vector<HostProduct> products;
  Result written;
  bool Found() const { return !products.empty(); }
};

// The installed products, nothing written.
Registration Detect(const platform::Registry& reg);
// Registers every installed product: the first product becomes the start-up choice with its
// current profile, each gets the fonts and its demand-load entry, each profile the switch
// "TRUE". Stops at the first write that fails.
Registration RegisterAll(platform::Registry& reg, std::string_view installFolder);

// Writes what the product list shows: the start-up choice, each profile's switch ("TRUE" when
// ticked, "FALSE" otherwise), and for each product the demand-load entry and the fonts when one
// of its profiles is ticked, or no demand-load entry at all when none is. Stops at the first
// write that fails.
Result Apply(platform::Registry& reg, const ProductList& list, std::string_view installFolder);

}  // namespace vex::setup
