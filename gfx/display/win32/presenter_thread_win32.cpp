// The presenter thread's name and priority on Win32: SetThreadDescription
// where the system has it (looked up by name), and SetThreadPriority.
#include <windows.h>

#include <atomic>

#include "gfx/display/presenter_thread_platform.h"

namespace krgfx {

namespace {

std::atomic<HANDLE> presenterThread{nullptr};

using SetDescription = HRESULT(WINAPI*)(HANDLE, PCWSTR);

void nameThread(HANDLE thread) {
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  if (!kernel) return;
  auto setDescription = reinterpret_cast<SetDescription>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "SetThreadDescription")));
  if (setDescription) setDescription(thread, L"krgfx-presenter");
}

}  // namespace

void adoptPresenterThread() {
  HANDLE thread = OpenThread(
      THREAD_SET_INFORMATION | THREAD_SET_LIMITED_INFORMATION | THREAD_QUERY_INFORMATION, FALSE,
      GetCurrentThreadId());
  if (!thread) return;
  nameThread(thread);
  if (HANDLE old = presenterThread.exchange(thread)) CloseHandle(old);
}

void forgetPresenterThread() {
  if (HANDLE old = presenterThread.exchange(nullptr)) CloseHandle(old);
}

void setPresenterPriority(bool above) {
  if (HANDLE thread = presenterThread.load())
    SetThreadPriority(thread, above ? THREAD_PRIORITY_ABOVE_NORMAL : THREAD_PRIORITY_NORMAL);
}

}  // namespace krgfx
