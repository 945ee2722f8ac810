#include "display/multi_display.h"

#include "base/diagnostic_log.h"

namespace {

void logRect(const char* format, const platform::Rect& r) {
  diag::print(format, r.top, r.left, r.bottom, r.right);
}

}  // namespace

void CMultiDisplay::enumMonitors() {
  for (const platform::Monitors::Enumerated& found : platform_.enumerate()) {
    ++monitorCount;
    MonitorRecord record;
    record.size = sizeof(MonitorRecord);
    platform_.getInfo(found.handle, record);
    if (record.flags == platform::MONITORINFOF_PRIMARY) {
      monitors.insert(monitors.begin(), record);
    } else {
      monitors.push_back(record);
    }
    logRect("rcMonitor top=%d, left=%d, bottom=%d, right=%d\n", record.monitor);
    logRect("rcWork top=%d, left=%d, bottom=%d, right=%d\n", record.work);
    diag::print("Flag = %d\n", static_cast<int>(record.flags));
    logRect("rcMonitor top=%d, left=%d, bottom=%d, right=%d\n", found.rect);
  }
}
