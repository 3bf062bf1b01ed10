// Reading the DirectInput keyboard: a device that lost its input is acquired
// again, and that round tells nothing about the keys.
#include <gtest/gtest.h>

#include <cstring>

#include "gfx/display/win32/win32_directdraw.h"

namespace krgfx {

namespace {

// A keyboard device that answers GetDeviceState with `result` and, when that
// succeeds, with the scan codes in `keys`; it counts Acquire calls.
class FakeKeyboard : public IDirectInputDeviceA {
 public:
  HRESULT result = DI_OK;
  uint8_t keys[256] = {};
  int acquired = 0;

  STDMETHOD_(HRESULT, QueryInterface)(REFIID, void**) override { return E_NOINTERFACE; }
  STDMETHOD_(ULONG, AddRef)() override { return 1; }
  STDMETHOD_(ULONG, Release)() override { return 1; }
  STDMETHOD(GetCapabilities)(LPDIDEVCAPS) override { return E_NOTIMPL; }
  STDMETHOD(EnumObjects)(LPDIENUMDEVICEOBJECTSCALLBACKA, LPVOID, DWORD) override {
    return E_NOTIMPL;
  }
  STDMETHOD(GetProperty)(REFGUID, LPDIPROPHEADER) override { return E_NOTIMPL; }
  STDMETHOD(SetProperty)(REFGUID, LPCDIPROPHEADER) override { return E_NOTIMPL; }
  STDMETHOD(Acquire)() override {
    ++acquired;
    return DI_OK;
  }
  STDMETHOD(Unacquire)() override { return DI_OK; }
  STDMETHOD(GetDeviceState)(DWORD size, LPVOID data) override {
    if (SUCCEEDED(result)) std::memcpy(data, keys, size);
    return result;
  }
  STDMETHOD(GetDeviceData)(DWORD, LPDIDEVICEOBJECTDATA, LPDWORD, DWORD) override {
    return E_NOTIMPL;
  }
  STDMETHOD(SetDataFormat)(LPCDIDATAFORMAT) override { return E_NOTIMPL; }
  STDMETHOD(SetEventNotification)(HANDLE) override { return E_NOTIMPL; }
  STDMETHOD(SetCooperativeLevel)(HWND, DWORD) override { return E_NOTIMPL; }
  STDMETHOD(GetObjectInfo)(LPDIDEVICEOBJECTINSTANCEA, DWORD, DWORD) override { return E_NOTIMPL; }
  STDMETHOD(GetDeviceInfo)(LPDIDEVICEINSTANCEA) override { return E_NOTIMPL; }
  STDMETHOD(RunControlPanel)(HWND, DWORD) override { return E_NOTIMPL; }
  STDMETHOD(Initialize)(HINSTANCE, DWORD, REFGUID) override { return E_NOTIMPL; }
};

}  // namespace

TEST(DirectInputKeyboard, ALostOrUnacquiredDeviceIsAcquiredAgainAndTellsNothing) {
  FakeKeyboard keyboard;
  keyboard.keys[30] = 0x80;
  uint8_t state[256];
  ASSERT_TRUE(readKeyboardDevice(keyboard, state));
  EXPECT_EQ(state[30], 0x80);
  EXPECT_EQ(keyboard.acquired, 0);
  for (HRESULT lost : {DIERR_INPUTLOST, DIERR_NOTACQUIRED}) {
    keyboard.result = lost;
    keyboard.acquired = 0;
    EXPECT_FALSE(readKeyboardDevice(keyboard, state));
    EXPECT_EQ(keyboard.acquired, 1);
  }
}

TEST(DirectInputKeyboard, AnyOtherFailureReadsAsEveryKeyUp) {
  FakeKeyboard keyboard;
  keyboard.result = E_FAIL;
  uint8_t state[256];
  std::memset(state, 0x80, sizeof state);
  EXPECT_TRUE(readKeyboardDevice(keyboard, state));
  for (uint8_t key : state) EXPECT_EQ(key, 0);
  EXPECT_EQ(keyboard.acquired, 0);
}

}  // namespace krgfx
