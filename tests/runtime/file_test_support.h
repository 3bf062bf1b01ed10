// A fixture for file tests: each test runs in a fresh temporary directory,
// and leaves no file open, no search and no input selected behind.
#pragma once

#include <gtest/gtest.h>
#include <dirent.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "runtime/dir_search.h"
#include "runtime/field_input.h"
#include "runtime/runtime.h"
#include "runtime/runtime_contexts.h"
#include "runtime/runtime_state.h"

class RuntimeFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::path base = std::filesystem::temp_directory_path() / "krgfx-files-XXXXXX";
    std::string pattern = base.string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    directory = pattern;
    char here[PATH_MAX];
    ASSERT_NE(getcwd(here, sizeof here), nullptr);
    previousDirectory = here;
    ASSERT_EQ(chdir(directory.c_str()), 0);
  }

  void TearDown() override {
    runtimeState.filesInUse = 1;
    closeAllFiles();
    runtimeContext<InputState>(contextInput) = InputState{};
    closeDirSearch(runtimeContext<DirSearch>(contextDirSearch));
    EXPECT_EQ(chdir(previousDirectory.c_str()), 0);
    std::error_code ignored;
    std::filesystem::permissions(directory, std::filesystem::perms::owner_all,
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

  // Permission bits do not stop the superuser.
  static bool runsAsSuperuser() { return geteuid() == 0; }

  std::filesystem::path directory;
  std::string previousDirectory;
};
