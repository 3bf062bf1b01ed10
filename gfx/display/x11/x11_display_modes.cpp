// Display modes through XRandR, and the screen saver.
#include "gfx/display/x11/x11_connection.h"

namespace krgfx {

std::vector<DisplayMode> X11WindowSystem::displayModes() {
  std::vector<DisplayMode> modes;
  if (dead_ || randrEventBase_ < 0) return modes;
  XRRScreenConfiguration* config = XRRGetScreenInfo(display_, root_);
  if (!config) return modes;
  int sizeCount = 0;
  XRRScreenSize* sizes = XRRConfigSizes(config, &sizeCount);
  for (int size = 0; size < sizeCount; ++size) {
    int rateCount = 0;
    short* rates = XRRConfigRates(config, size, &rateCount);
    if (rateCount == 0) modes.push_back({sizes[size].width, sizes[size].height, 0});
    for (int rate = 0; rate < rateCount; ++rate)
      modes.push_back({sizes[size].width, sizes[size].height, rates[rate]});
  }
  XRRFreeScreenConfigInfo(config);
  return modes;
}

// A mode of exactly that size, at that rate unless the rate is 0. The mode in
// force before the first change is kept for restoreDisplayMode.
bool X11WindowSystem::setDisplayMode(const DisplayMode& mode) {
  if (dead_ || randrEventBase_ < 0) return false;
  XRRScreenConfiguration* config = XRRGetScreenInfo(display_, root_);
  if (!config) return false;
  int sizeCount = 0;
  XRRScreenSize* sizes = XRRConfigSizes(config, &sizeCount);
  int chosen = -1;
  for (int size = 0; size < sizeCount && chosen < 0; ++size)
    if (sizes[size].width == mode.width && sizes[size].height == mode.height) chosen = size;
  short rate = 0;
  bool rateFits = chosen >= 0 && mode.refreshRate == 0;
  if (chosen >= 0 && mode.refreshRate != 0) {
    int rateCount = 0;
    short* rates = XRRConfigRates(config, chosen, &rateCount);
    for (int i = 0; i < rateCount; ++i)
      if (rates[i] == mode.refreshRate) rateFits = true, rate = rates[i];
  }
  Rotation rotation = 0;
  SizeID current = XRRConfigCurrentConfiguration(config, &rotation);
  if (!modeSaved_ && rateFits) {
    modeSaved_ = true;
    savedSize_ = current;
    savedRotation_ = rotation;
    savedRate_ = XRRConfigCurrentRate(config);
  }
  bool done = rateFits && (rate ? XRRSetScreenConfigAndRate(display_, config, root_, chosen,
                                                            rotation, rate, CurrentTime)
                                : XRRSetScreenConfig(display_, config, root_, chosen, rotation,
                                                     CurrentTime)) == Success;
  XRRFreeScreenConfigInfo(config);
  if (done) {
    XSync(display_, False);
    if (rate) refreshRate_ = rate;
    screenWidth_ = mode.width;
    screenHeight_ = mode.height;
  }
  return done;
}

void X11WindowSystem::restoreDisplayMode() {
  if (!modeSaved_ || dead_) return;
  modeSaved_ = false;
  XRRScreenConfiguration* config = XRRGetScreenInfo(display_, root_);
  if (!config) return;
  int sizeCount = 0;
  XRRScreenSize* sizes = XRRConfigSizes(config, &sizeCount);
  if (savedSize_ < sizeCount) {
    screenWidth_ = sizes[savedSize_].width;
    screenHeight_ = sizes[savedSize_].height;
  }
  if (savedRate_)
    XRRSetScreenConfigAndRate(display_, config, root_, savedSize_, savedRotation_, savedRate_,
                              CurrentTime);
  else
    XRRSetScreenConfig(display_, config, root_, savedSize_, savedRotation_, CurrentTime);
  XRRFreeScreenConfigInfo(config);
  XSync(display_, False);
  refreshRate_ = savedRate_;
}

void X11WindowSystem::suspendScreenSaver() {
  if (dead_ || screenSaverSaved_) return;
  XGetScreenSaver(display_, &saverTimeout_, &saverInterval_, &saverBlanking_, &saverExposures_);
  screenSaverSaved_ = true;
  XSetScreenSaver(display_, 0, saverInterval_, saverBlanking_, saverExposures_);
  XFlush(display_);
}

void X11WindowSystem::restoreScreenSaver() {
  if (!screenSaverSaved_) return;
  screenSaverSaved_ = false;
  if (dead_) return;
  XSetScreenSaver(display_, saverTimeout_, saverInterval_, saverBlanking_, saverExposures_);
  XFlush(display_);
}

}  // namespace krgfx
