// The program's path from a folder deeper than any fixed buffer.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "runtime/program_path.h"

namespace krgfx {

namespace fs = std::filesystem;

// This test program, linked (or copied) into a folder whose path is over 300
// bytes long, runs its own ProgramPath.NamesThisTestProgram there.
TEST(ProgramPathPosix, ADeepFolderStillGivesTheProgramsOwnName) {
  std::string self = programPath();
  ASSERT_FALSE(self.empty());
  fs::path top = fs::path(KRGFX_BINARY_DIR) / "deep-program-folder";
  fs::path deep = top / std::string(120, 'f') / std::string(120, 'g') / std::string(60, 'h');
  fs::remove_all(top);
  fs::create_directories(deep);
  fs::path copy = deep / "krgfx_tests";
  std::error_code linked;
  fs::create_hard_link(self, copy, linked);
  if (linked) fs::copy_file(self, copy);
  ASSERT_GE(copy.string().size(), 300u);
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    execl(copy.c_str(), "krgfx_tests", "--gtest_filter=ProgramPath.NamesThisTestProgram",
          "--gtest_brief=1", static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  fs::remove_all(top);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace krgfx
