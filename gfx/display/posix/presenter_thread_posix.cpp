// The presenter thread's name and priority on POSIX systems: a thread name
// and the nice value of its thread id.
#include <pthread.h>
#include <sys/resource.h>
#include <unistd.h>

#include <atomic>

#include "gfx/display/presenter_thread_platform.h"

namespace krgfx {

namespace {

std::atomic<pid_t> presenterThreadId;

}  // namespace

void adoptPresenterThread() {
  pthread_setname_np(pthread_self(), "krgfx-presenter");
  presenterThreadId = static_cast<pid_t>(gettid());
}

void forgetPresenterThread() { presenterThreadId = 0; }

void setPresenterPriority(bool above) {
  pid_t thread = presenterThreadId;
  if (thread) setpriority(PRIO_PROCESS, static_cast<id_t>(thread), above ? -5 : 0);
}

}  // namespace krgfx
