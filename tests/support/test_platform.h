// What the tests ask of the platform they run on.
#pragma once

namespace krgfx {

// Sets an environment variable for the process; a null value removes it.
void setTestEnvironment(const char* name, const char* value);
// The process's id, for names no test running beside this one uses.
int testProcessId();
// Whether the tests run with rights that ignore read-only files.
bool runsAsSuperuser();

}  // namespace krgfx
