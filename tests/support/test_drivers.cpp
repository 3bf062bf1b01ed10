#include "test_drivers.h"

#include <cstdio>

namespace krgfx {

namespace testing_drivers {

std::vector<std::string> calls;
int succeedingDriver = -1;
int succeedingRate = -1;

namespace {

const DisplayDriver* savedTable[driverTableSize];
constexpr const char* names[driverTableSize] = {"DirectX", "GDI", "OpenGL"};

template <int Index>
int32_t init(const char*, int32_t, int32_t, int32_t, int32_t rate, int32_t flags) {
  calls.push_back(std::string(names[Index]) + ".init(" + std::to_string(rate) + "," +
                  ((flags & 1) ? "full" : "window") + ")");
  bool rateFits = succeedingRate < 0 || succeedingRate == rate;
  return succeedingDriver == Index && rateFits ? 0 : -1;
}
template <int Index>
void exit() {
  calls.push_back(std::string(names[Index]) + ".exit");
}
template <int Index>
void lock() {
  calls.push_back(std::string(names[Index]) + ".lock");
}
template <int Index>
void unlock() {
  calls.push_back(std::string(names[Index]) + ".unlock");
}
template <int Index>
void setPaletteEntry(int32_t index, int32_t red, int32_t green, int32_t blue) {
  char text[64];
  std::snprintf(text, sizeof text, "%s.palette(%d,%d,%d,%d)", names[Index], index, red, green,
                blue);
  calls.push_back(text);
}

template <int Index>
constexpr DisplayDriver recordingDriver = {
    .name = names[Index],
    .init = init<Index>,
    .exit = exit<Index>,
    .lock = lock<Index>,
    .unlock = unlock<Index>,
    .setPaletteEntry = setPaletteEntry<Index>,
    .waitRetrace = nullptr,
    .readMouse = nullptr,
    .placeMouse = nullptr,
    .setTitle = nullptr,
    .moveWindow = nullptr,
    .listModes = nullptr,
    .showPage = nullptr,
    .pumpInput = nullptr,
};

}  // namespace

void install() {
  for (int i = 0; i < driverTableSize; ++i) savedTable[i] = driverTable[i];
  driverTable[0] = &recordingDriver<0>;
  driverTable[1] = &recordingDriver<1>;
  driverTable[2] = &recordingDriver<2>;
  calls.clear();
  succeedingDriver = -1;
  succeedingRate = -1;
}

void uninstall() {
  for (int i = 0; i < driverTableSize; ++i) driverTable[i] = savedTable[i];
}

std::vector<std::string> callsStartingWith(const std::string& prefix) {
  std::vector<std::string> matching;
  for (const std::string& call : calls)
    if (call.rfind(prefix, 0) == 0) matching.push_back(call);
  return matching;
}

}  // namespace testing_drivers

}  // namespace krgfx
