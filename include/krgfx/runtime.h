// Public interface of the runtime services: start and end of the program,
// the last error number, numbered files, directory search and field input.
#pragma once

#include <cstdint>
#include <string>

namespace krgfx {

// Result codes shared by every operation of the runtime.
constexpr int32_t errBadCall = 1;   // an argument or state the operation refuses
constexpr int32_t errNoFile = 2;    // the named file could not be opened
constexpr int32_t errIoFailed = 3;  // a read, write or seek failed, or an unknown format
constexpr int32_t errNoMemory = 4;  // an allocation failed

// --- Start and end -------------------------------------------------------
void runtimeStartup();  // runs before main
void runtimeInit(int32_t argc, char** argv, int32_t option);
[[noreturn]] void runtimeEnd(int32_t exitCode);  // end hook, then exit
void runtimeShutdown();                          // runs during exit
// Sets the endHook; it also runs at the process exit when the program returns
// from main or calls exit() itself.
void registerEndHook(void (*hook)());

// --- Last error ----------------------------------------------------------
int32_t setRuntimeError(int32_t code);  // stores code and returns it
int32_t runtimeError();                 // the last stored code

// --- Files and directory search -----------------------------------------
std::string findFirstFile(const std::string& pattern, int32_t attributeMask,
                          int32_t* outAttributes);
int32_t freeFileNumber();
int32_t openFile(const std::string& name, int32_t mode, int32_t access, int32_t lock,
                 int32_t fileNumber, int32_t recordLength);
int32_t closeFile(int32_t fileNumber);
void closeAllFiles();

// --- Field input ---------------------------------------------------------
int32_t selectInputFile(int32_t fileNumber);
int32_t readIntField(int32_t* out);
int32_t readTextField(std::string& target, int32_t targetSize, int32_t fill);

}  // namespace krgfx
