// The program's path and the name its window takes from it.
#include <gtest/gtest.h>

#include <string>

#include "runtime/program_path.h"

namespace krgfx {

TEST(ProgramName, ComesFromTheFileNameOfTheWholePath) {
  EXPECT_EQ(programNameOf("/usr/games/game", "/", 127), "game");
  EXPECT_EQ(programNameOf("C:\\Gry\\game.exe", "\\/", 127), "game");
  EXPECT_EQ(programNameOf("C:/Gry/game.exe", "\\/", 127), "game");
  EXPECT_EQ(programNameOf("game.tar.exe", "/", 127), "game.tar");  // cut at the last dot
  EXPECT_EQ(programNameOf("/opt/v1.2/game", "/", 127), "game");    // a dot of a folder stays out
  EXPECT_EQ(programNameOf("/opt/game/", "/", 127), "");
  EXPECT_EQ(programNameOf("", "/", 127), "");
  // A backslash is part of a POSIX file name.
  EXPECT_EQ(programNameOf("/opt/a\\b", "/", 127), "a\\b");
}

// A program in a deep folder is still titled with its own name, not a piece
// of a folder's.
TEST(ProgramName, ADeepFolderDoesNotReachTheName) {
  std::string folder = "/home/" + std::string(150, 'f') + "/" + std::string(100, 'g');
  EXPECT_EQ(programNameOf(folder + "/game", "/", 127), "game");
  std::string windowsFolder = "C:\\" + std::string(200, 'f');
  EXPECT_EQ(programNameOf(windowsFolder + "\\game.exe", "\\/", 127), "game");
}

TEST(ProgramName, ALongNameIsCutAtTheLimitAfterItsExtension) {
  std::string name(140, 'n');
  EXPECT_EQ(programNameOf("/bin/" + name + ".exe", "/", 127), std::string(127, 'n'));
  EXPECT_EQ(programNameOf("/bin/" + name.substr(0, 127) + ".exe", "/", 127), name.substr(0, 127));
  EXPECT_EQ(programNameOf("/bin/" + std::string(120, 'n') + "." + std::string(20, 'e'), "/", 127),
            std::string(120, 'n'));
}

TEST(ProgramPath, NamesThisTestProgram) {
  std::string path = programPath();
  EXPECT_EQ(programNameOf(path, programPathSeparators, 127), "krgfx_tests") << path;
}

}  // namespace krgfx
