// A fixture for file tests: each test runs in a fresh temporary directory,
// and leaves no file open, no search and no input selected behind.
#pragma once

#include <gtest/gtest.h>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <krgfx/runtime.h>
#include "runtime/dir_search.h"
#include "runtime/field_input.h"
#include "runtime/files.h"
#include "runtime/runtime_contexts.h"
#include "runtime/runtime_state.h"
#include "support/test_platform.h"

namespace krgfx {

class RuntimeFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::path base = std::filesystem::temp_directory_path();
    std::string prefix = "krgfx-files-" + std::to_string(testProcessId()) + "-";
    for (int attempt = 0;; ++attempt) {
      ASSERT_LT(attempt, 1000) << "no fresh directory in " << base;
      directory = base / (prefix + std::to_string(attempt));
      std::error_code taken;
      if (std::filesystem::create_directory(directory, taken)) break;
    }
    previousDirectory = std::filesystem::current_path();
    std::filesystem::current_path(directory);
  }

  void TearDown() override {
    runtimeState.filesInUse = 1;
    closeAllFiles();
    runtimeContext<InputState>(contextInput) = InputState{};
    closeDirSearch(runtimeContext<DirSearch>(contextDirSearch));
    std::filesystem::current_path(previousDirectory);
    // Read-only entries are not removed on every platform: make them writable.
    std::error_code ignored;
    std::filesystem::permissions(directory, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(directory, ignored))
      std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_write,
                                   std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(directory, ignored);
  }

  static void writeFile(const std::string& name, const std::string& bytes) {
    std::ofstream(name, std::ios::binary) << bytes;
  }

  static std::string fileContents(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  // Takes the write rights away (on Win32: sets the read-only attribute).
  // False when the file can be written all the same (the superuser, or Wine
  // run by it), where a test of read-only files has nothing to test.
  static bool makeReadOnly(const std::string& name) {
    std::filesystem::permissions(name, std::filesystem::perms::owner_read |
                                           std::filesystem::perms::group_read |
                                           std::filesystem::perms::others_read);
    std::FILE* writable = std::fopen(name.c_str(), "r+b");
    if (writable) std::fclose(writable);
    return !writable;
  }

  std::filesystem::path directory;
  std::filesystem::path previousDirectory;
};

// Up to `wanted` bytes read through the read slot of an open file number.
inline std::string readAll(int32_t number, int32_t wanted) {
  std::string bytes(static_cast<size_t>(wanted), '\0');
  int32_t length = wanted;
  FileHandle& file = *fileHandleOf(number);
  EXPECT_EQ(file.hooks->read(file, bytes.data(), &length), 0);
  bytes.resize(static_cast<size_t>(length));
  return bytes;
}

}  // namespace krgfx
