// Counts the presenter threads of this process, by their thread names.
#pragma once

namespace krgfx {

int presenterThreadCount();

}  // namespace krgfx
