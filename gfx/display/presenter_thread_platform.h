// What the window layer asks of the platform's threads: a name for the
// presenter thread and its priority.
#pragma once

namespace krgfx {

// Run on the presenter thread as it starts: names it "krgfx-presenter" and
// remembers it for setPresenterPriority.
void adoptPresenterThread();
// Run once the presenter thread has ended.
void forgetPresenterThread();
// Above normal or back to normal; without the right to raise it, the
// presenter stays at normal.
void setPresenterPriority(bool above);

}  // namespace krgfx
