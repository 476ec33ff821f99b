#include "excel/host_meter.h"

#include <string>

#include "cadhost/sdk/acedads.h"

namespace vex::excel {

void HostStatusMeter::Show(std::string_view label) {
  last_ = -1;
  acedSetStatusBarProgressMeter(std::string(label).c_str(), 0, 100);
}

void HostStatusMeter::Set(int percent) {
  // The meter is asked once per cell; the host only needs to hear of a change.
  if (percent == last_) return;
  last_ = percent;
  acedSetStatusBarProgressMeterPos(percent);
}

void HostStatusMeter::Restore() { acedRestoreStatusBar(); }

}  // namespace vex::excel
