// A program that ends with its window still open, on the real X server: the
// presenter is stopped at the exit, so the exit status is the program's and
// the files it left open are closed with their bytes on disk.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <ostream>
#include <sstream>
#include <string>

#include "support/x11_test_client.h"

namespace krgfx {

namespace {

struct Ending {
  const char* how;
  int status;
};
void PrintTo(const Ending& ending, std::ostream* out) { *out << ending.how; }

class ProgramEndWithWindow : public ::testing::TestWithParam<Ending> {
 protected:
  void SetUp() override { SKIP_WITHOUT_X_SERVER(); }
  void TearDown() override {
    if (!path.empty()) std::remove(path.c_str());
  }

  // Runs the program on the default driver; its wait status.
  int run(const char* how) {
    char name[] = "/tmp/krgfx-end-XXXXXX";
    int fd = mkstemp(name);
    EXPECT_GE(fd, 0);
    close(fd);
    path = name;
    pid_t child = fork();
    if (child == 0) {
      unsetenv("KRGFX");
      execl(KRGFX_BINARY_DIR "/tests/end_with_window", "end_with_window", path.c_str(), how,
            static_cast<char*>(nullptr));
      _exit(127);
    }
    int status = 0;
    EXPECT_EQ(waitpid(child, &status, 0), child);
    return status;
  }
  std::string fileBytes() const {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }

  std::string path;
};

}  // namespace

TEST_P(ProgramEndWithWindow, ExitsWithItsStatusAndClosesItsFiles) {
  int status = run(GetParam().how);
  ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), GetParam().status);
  EXPECT_EQ(fileBytes(), "written before the end");
}

INSTANTIATE_TEST_SUITE_P(ReturnExitAndExitUnderTheLock, ProgramEndWithWindow,
                         ::testing::Values(Ending{"return", 0}, Ending{"exit", 3},
                                           Ending{"locked", 4}),
                         [](const auto& info) { return std::string(info.param.how); });

}  // namespace krgfx
