// In a browser the presenter is a worker: it has no name the page shows and
// no priority to raise, so both stay as the worker has them.
#include "gfx/display/presenter_thread_platform.h"

namespace krgfx {

void adoptPresenterThread() {}
void forgetPresenterThread() {}
void setPresenterPriority(bool /*above*/) {}

}  // namespace krgfx
