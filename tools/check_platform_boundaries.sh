#!/usr/bin/env bash
# Checks that platform code stays in its folders: X11 headers only under
# gfx/display/x11/ (and the keysym numbers, which xkbcommon shares, in posix/
# files), Win32 headers only under win32/ folders, Emscripten's only under
# web/ folders, and POSIX-only headers and
# calls (terminal, /proc, thread names and priorities, byte-range locks,
# directory search, aligned_alloc, unistd) only under posix/, x11/ and
# wayland/ folders.
# Prints each offending line; exits non-zero when there is one.
set -euo pipefail
cd "$(dirname "$0")/.."

folders=(runtime gfx input console game tests bench fuzz)
status=0

# report RULE PATTERN PATH-FILTER: grep the sources, drop the lines of files
# that PATH-FILTER (an extended regular expression on the path) allows.
report() {
  local rule=$1 pattern=$2 allowed=$3 hits
  hits=$(grep -rnE --include='*.cpp' --include='*.h' "$pattern" "${folders[@]}" 2>/dev/null |
         grep -vE "^($allowed)" || true)
  if [ -n "$hits" ]; then
    echo "$rule:"
    echo "$hits"
    status=1
  fi
}

report "X11 headers outside gfx/display/x11/" \
  '#include[[:space:]]*<X11/' 'gfx/display/x11/|[^:]*/posix/[a-z_]*\.cpp:[0-9]+:#include <X11/keysym\.h>|tests/gfx/display/x11/|tests/[^:]*_x11_test\.cpp|tests/support/x11_'
report "Win32 headers outside win32/ folders" \
  '#include[[:space:]]*<(windows|winbase|winuser|wingdi|ddraw|dinput|mmsystem|io|direct)\.h>' \
  '[^:]*/win32/'
report "Emscripten headers outside web/ folders" \
  '#include[[:space:]]*<emscripten/' '[^:]*/web/'
report "POSIX headers outside posix/ folders" \
  '#include[[:space:]]*<(unistd|termios|poll|fcntl|dirent|fnmatch|iconv|pthread|pty|dlfcn|sched|langinfo|sys/(ioctl|resource|wait|mman|select|syscall))\.h>' \
  '[^:]*/posix/|[^:]*/x11/|[^:]*/wayland/|[^:]*/win32/[^:]*:[0-9]+:#include <fcntl\.h>|tests/[^:]*_x11_test\.cpp|tests/support/x11_|bench/|fuzz/'
report "POSIX-only calls outside posix/ folders" \
  '/proc/self|readlink\(|pthread_setname_np|setpriority\(|gettid\(|fcntl\(|opendir\(|readdir\(|fnmatch\(|aligned_alloc\(|tcsetattr\(|tcgetattr\(|newlocale\(' \
  '[^:]*/posix/|[^:]*/x11/|[^:]*/wayland/|tests/[^:]*_x11_test\.cpp|tests/support/x11_|bench/|fuzz/'

[ $status -eq 0 ] && echo "platform boundaries kept"
exit $status
