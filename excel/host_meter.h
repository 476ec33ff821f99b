#pragma once
// The exchange's progress meter on the CAD host's status bar.

#include "excel/exchange_ui.h"

namespace vex::excel {

class HostStatusMeter final : public StatusMeter {
 public:
  void Show(std::string_view label) override;
  void Set(int percent) override;
  void Restore() override;

 private:
  int last_ = -1;
};

}  // namespace vex::excel
