#!/usr/bin/env bash
# Style checks: the formatting of every tracked C++ file (.clang-format), the
# scripts in tools/ and .ci/ through shellcheck, and the include boundaries
# between subsystems. Prints what fails and exits non-zero.
#   tools/lint.sh               all checks
#   tools/lint.sh --no-format   without the formatting check (also KRGFX_LINT_FORMAT=0)
set -euo pipefail
cd "$(dirname "$0")/.."

check_format=${KRGFX_LINT_FORMAT:-1}
for argument in "$@"; do
  case $argument in
    --no-format) check_format=0 ;;
    *) echo "usage: tools/lint.sh [--no-format]" >&2; exit 2 ;;
  esac
done
failed=0

# Every tracked C++ source and header; the generated .inc data stays as its
# generator writes it.
check_formatting() {
  local file differing=0
  while IFS= read -r file; do
    if ! clang-format --style=file "$file" | cmp -s "$file" -; then
      echo "not formatted: $file"
      differing=1
    fi
  done < <(git ls-files '*.cpp' '*.h')
  if [ $differing -ne 0 ]; then
    echo "format: run clang-format -i on the files above" >&2
    return 1
  fi
}

# The scripts are the files in tools/ and .ci/ that start with a shell's #!.
check_scripts() {
  local file scripts=()
  while IFS= read -r file; do
    if head -n1 "$file" | grep -qE '^#!.*\b(ba)?sh\b'; then scripts+=("$file"); fi
  done < <(git ls-files tools .ci)
  shellcheck "${scripts[@]}"
}

# forbidden_includes FOLDER PATTERN WHY: fails when a file below FOLDER
# includes a header that matches PATTERN.
forbidden_includes() {
  local folder=$1 pattern=$2 why=$3 found
  found=$(git ls-files "$folder" | grep -E '\.(cpp|h)$' |
    xargs -r grep -nE "^[[:space:]]*#[[:space:]]*include[[:space:]]*\"($pattern)" || true)
  if [ -n "$found" ]; then
    echo "$found"
    echo "include boundary: $why" >&2
    return 1
  fi
}

check_boundaries() {
  local status=0
  forbidden_includes runtime/ 'console/' \
    "runtime/ must not include console/ (the console implements runtime/text_console_lifetime.h)" ||
    status=1
  forbidden_includes input/ 'gfx/display/(window_layer\.h|display_driver\.h|x11/)' \
    "input/ reaches the window layer through gfx/display/input_access.h and event_ring.h" ||
    status=1
  return $status
}

if [ "$check_format" != 0 ]; then
  echo "== formatting"
  check_formatting || failed=1
fi
echo "== shellcheck"
check_scripts || failed=1
echo "== include boundaries"
check_boundaries || failed=1

if [ $failed -ne 0 ]; then
  echo "lint: failed" >&2
  exit 1
fi
echo "lint: clean"
