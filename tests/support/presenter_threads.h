// Counts the presenter threads of this process, by their thread names.
#pragma once

int presenterThreadCount();
