// A program that opens a window and then waits for two keys, one after the
// other, as the game waits for one more key after the key that ended its
// loop. Run by the lost-display tests:
//   wait_for_key waitKey|sleep
// It writes "waiting" to its standard output once the screen is open.
// "waitKey" waits in waitKey, "sleep" in sleepMs(-1) and takes the key with
// pollKey. It ends with 0 when both keys were windowCloseKey, 2 when another
// key came, 125 when the screen did not open.
#include <cstdio>
#include <cstring>

#include <krgfx/gfx.h>
#include <krgfx/input.h>
#include <krgfx/runtime.h>

using namespace krgfx;

namespace {

int32_t nextKey(bool bySleeping) {
  if (!bySleeping) return waitKey();
  sleepMs(-1);
  std::string key = pollKey();
  return key == "\xFFk" ? windowCloseKey : -1;
}

}  // namespace

int main(int argc, char** argv) {
  runtimeInit(argc, argv, 0);
  if (argc != 2) runtimeEnd(126);
  if (openScreen(320, 200, 32, 1, 0, 0) != 0) runtimeEnd(125);
  bool bySleeping = std::strcmp(argv[1], "sleep") == 0;
  std::fputs("waiting\n", stdout);
  std::fflush(stdout);
  bool closed = nextKey(bySleeping) == windowCloseKey;
  closed = nextKey(bySleeping) == windowCloseKey && closed;
  runtimeEnd(closed ? 0 : 2);
}
