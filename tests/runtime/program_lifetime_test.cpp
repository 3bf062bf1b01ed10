#include <gtest/gtest.h>

#include <cfenv>
#include <cstdio>
#include <vector>

#include <krgfx/runtime.h>
#include "runtime/runtime_contexts.h"
#include "runtime/runtime_state.h"

namespace krgfx {

TEST(ProgramStart, StartupRanBeforeMainWithNearestRounding) {
  EXPECT_EQ(startupCount, 1);
  EXPECT_EQ(std::fegetround(), FE_TONEAREST);
  EXPECT_EQ(runtimeState.endHook, nullptr);
}

TEST(ProgramStart, InitStoresArgumentsOnly) {
  char name[] = "game";
  char* argv[] = {name, nullptr};
  runtimeInit(1, argv, 7);
  EXPECT_EQ(runtimeState.argc, 1);
  EXPECT_EQ(runtimeState.argv, argv);
  EXPECT_EQ(runtimeState.option, 7);
}

TEST(ProgramStart, NestedStartupAndShutdownOnlyCount) {
  runtimeState.argc = 5;
  setRuntimeError(errIoFailed);
  runtimeStartup();
  EXPECT_EQ(startupCount, 2);
  EXPECT_EQ(runtimeState.argc, 5);
  runtimeShutdown();
  EXPECT_EQ(startupCount, 1);
  EXPECT_NE(runtimeContexts.blocks[contextError], nullptr);
  EXPECT_EQ(runtimeError(), errIoFailed);
}

TEST(ProgramStart, SetRuntimeErrorStoresAndReturnsTheCode) {
  EXPECT_EQ(setRuntimeError(errNoMemory), errNoMemory);
  EXPECT_EQ(runtimeError(), errNoMemory);
  EXPECT_EQ(setRuntimeError(0), 0);
  EXPECT_EQ(runtimeError(), 0);
}

TEST(ProgramEnd, ExitsWithTheGivenStatusWithoutAScreen) {
  EXPECT_EXIT(runtimeEnd(3), ::testing::ExitedWithCode(3), "");
}

TEST(ProgramEnd, CallsTheEndHookBeforeExiting) {
  runtimeState.endHook = [] { std::fputs("end hook ran", stderr); };
  EXPECT_EXIT(runtimeEnd(0), ::testing::ExitedWithCode(0), "end hook ran");
  runtimeState.endHook = nullptr;
}

namespace {
std::vector<int32_t> closedInOrder;
int32_t recordClose(FileHandle& file) {
  closedInOrder.push_back(file.lock);  // the test keeps the file number there
  return 0;
}
const FileOps recordingOps = {.eof = nullptr,
                              .close = recordClose,
                              .seek = nullptr,
                              .tell = nullptr,
                              .read = nullptr,
                              .readWide = nullptr,
                              .write = nullptr,
                              .writeWide = nullptr,
                              .lock = nullptr,
                              .unlock = nullptr,
                              .readLine = nullptr,
                              .readLineWide = nullptr,
                              .unused = nullptr,
                              .flush = nullptr};
}  // namespace

TEST(ProgramEnd, ClosesOpenFilesInAscendingOrderOnce) {
  for (int32_t number : {200, 3, 17}) {
    *fileHandleOf(number) = FileHandle{};
    fileHandleOf(number)->hooks = &recordingOps;
    fileHandleOf(number)->lock = number;
  }
  fileHandleOf(0)->printWidth = 9;
  runtimeState.filesInUse = 1;
  closeAllFiles();
  EXPECT_EQ(closedInOrder, (std::vector<int32_t>{3, 17, 200}));
  EXPECT_EQ(fileHandleOf(17)->hooks, nullptr);
  EXPECT_EQ(runtimeState.filesInUse, 0);
  EXPECT_EQ(fileHandleOf(0)->printWidth, 9);  // the console's handle is left alone
  closeAllFiles();
  EXPECT_EQ(closedInOrder.size(), 3u);
}

TEST(FileNumbers, NameTheirHandles) {
  EXPECT_EQ(fileHandleOf(0), &runtimeState.fileTable[0]);
  EXPECT_EQ(fileHandleOf(-1), &runtimeState.fileTable[1]);
  EXPECT_EQ(fileHandleOf(1), &runtimeState.fileTable[2]);
  EXPECT_EQ(fileHandleOf(255), &runtimeState.fileTable[256]);
  EXPECT_EQ(fileHandleOf(256), nullptr);
  EXPECT_EQ(fileHandleOf(-2), nullptr);
}

}  // namespace krgfx
