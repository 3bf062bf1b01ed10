// The tests' platform services on Win32.
#include <windows.h>

#include <tlhelp32.h>

#include <cstdlib>
#include <cwchar>

#include "support/presenter_threads.h"
#include "support/test_platform.h"

namespace krgfx {

namespace {

using GetDescription = HRESULT(WINAPI*)(HANDLE, PWSTR*);

bool namedPresenter(GetDescription getDescription, DWORD threadId) {
  HANDLE thread = OpenThread(THREAD_QUERY_LIMITED_INFORMATION, FALSE, threadId);
  if (!thread) return false;
  PWSTR name = nullptr;
  bool presenter = SUCCEEDED(getDescription(thread, &name)) && name &&
                   std::wcscmp(name, L"krgfx-presenter") == 0;
  if (name) LocalFree(name);
  CloseHandle(thread);
  return presenter;
}

}  // namespace

void setTestEnvironment(const char* name, const char* value) {
  _putenv_s(name, value ? value : "");  // an empty value removes the variable
}

int testProcessId() { return static_cast<int>(GetCurrentProcessId()); }

bool runsAsSuperuser() { return false; }

int presenterThreadCount() {
  auto getDescription = reinterpret_cast<GetDescription>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetThreadDescription")));
  if (!getDescription) return 0;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return 0;
  int count = 0;
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID == GetCurrentProcessId() &&
        namedPresenter(getDescription, entry.th32ThreadID))
      ++count;
  }
  CloseHandle(snapshot);
  return count;
}

}  // namespace krgfx
