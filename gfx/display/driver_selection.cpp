// Choosing and starting a display driver for a new mode.
#include <strings.h>

#include <cstdlib>

#include <krgfx/gfx.h>
#include "gfx/display/display_driver.h"

namespace krgfx {

namespace {

struct DriverRequest {
  const char* title;
  int32_t width, height, depth, refreshRate, flags;
};

// Tries init with the asked refresh rate, then with 0; every failure is
// followed by exit.
bool startDriver(const DisplayDriver& driver, const DriverRequest& request) {
  if (!driver.init) return false;
  for (int32_t rate : {request.refreshRate, 0}) {
    if (driver.init(request.title, request.width, request.height, request.depth, rate,
                    request.flags) == 0)
      return true;
    if (driver.exit) driver.exit();
  }
  return false;
}

// One pass over the table; with a name, only the driver of that name.
const DisplayDriver* selectionPass(const char* onlyName, const DriverRequest& request) {
  for (const DisplayDriver* driver : driverTable) {
    if (!driver) continue;
    if (onlyName && strcasecmp(driver->name, onlyName) != 0) continue;
    if (startDriver(*driver, request)) return driver;
  }
  return nullptr;
}

}  // namespace

const DisplayDriver* selectDriver(const char* title, int32_t width, int32_t height, int32_t depth,
                                  int32_t refreshRate, int32_t flags) {
  const char* wanted = std::getenv("KRGFX");
  if (flags == flagNoDisplay || (wanted && strcasecmp(wanted, "null") == 0)) return &nullDriver;
  DriverRequest request{title, width, height, depth, refreshRate, flags};
  const DisplayDriver* chosen = nullptr;
  for (int32_t round = 0; round < 2 && !chosen; ++round) {
    if (wanted) chosen = selectionPass(wanted, request);
    if (!chosen) chosen = selectionPass(nullptr, request);
    request.flags ^= flagFullScreen;
  }
  return chosen;
}

}  // namespace krgfx
