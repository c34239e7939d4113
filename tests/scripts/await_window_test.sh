#!/usr/bin/env bash
# The wait of scripts/run for deskmate's window, against the real program:
# it fails with the text of a message box shown instead of the window, with
# a clear message when nothing appears or the program ends first, and
# succeeds once the window is up.
#   await_window_test.sh TARGET_BUILD_DIR DATA_DIR
set -uo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "$1/.." && pwd)
data=$2
. "$top/scripts/xsession"
[ -n "${DISPLAY:-}" ] || { echo "no display: run under scripts/test" >&2; exit 1; }

failures=0
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# expect WHAT RESULT STDERR-PATTERN: the last await_window's result and
# message; an empty pattern asks for no message at all.
expect() {
  local what=$1 want=$2 pattern=$3 said=yes
  if [ -z "$pattern" ]; then
    [ -s "$scratch/err" ] && said=no
  else
    grep -qiE "$pattern" "$scratch/err" || said=no
  fi
  if [ "$result" != "$want" ] || [ $said = no ]; then
    echo "FAILED: $what: result $result (want $want), message: $(cat "$scratch/err")" >&2
    failures=$((failures + 1))
  else
    echo "ok: $what: $(cat "$scratch/err")"
  fi
}

# Nothing appears within the wait.
sleep 30 &
program_pid=$!
await_window Tavelune 2 "$scratch/none.log" 2>"$scratch/err"
result=$?
kill "$program_pid" 2>/dev/null
expect "no window" 1 'no window titled "Tavelune" appeared within 2 s'

# The program ends before any window.
true &
program_pid=$!
wait "$program_pid"
await_window Tavelune 2 "$scratch/none.log" 2>"$scratch/err"
result=$?
expect "ended early" 1 'ended before any window appeared'

# Alone, without its data, the program shows a message box titled like itself.
mkdir -p "$scratch/alone"
cp "$data/deskmate.exe" "$scratch/alone/"
cd "$scratch/alone" || exit 1
start_program "$scratch/alone.log" ./deskmate.exe
cd - >/dev/null || exit 1
await_window Tavelune 300 "$scratch/alone.log" 2>"$scratch/err"
result=$?
expect "message box" 1 'message box appeared.*起動に必要なファイル'
kill "$program_pid" 2>/dev/null
wait "$program_pid" 2>/dev/null

# With its data the window comes up; Escape ends the program.
cd "$data" || exit 1
start_program "$scratch/real.log" ./deskmate.exe
await_window Tavelune 300 "$scratch/real.log" 2>"$scratch/err"
result=$?
expect "window" 0 ""
window=$(xdotool search --onlyvisible --name '^Tavelune$' 2>/dev/null | head -n 1)
[ -n "$window" ] && xdotool windowfocus --sync "$window" key Escape >/dev/null 2>&1
for _ in $(seq 1 30); do
  kill -0 "$program_pid" 2>/dev/null || break
  sleep 1
done
if kill -0 "$program_pid" 2>/dev/null; then
  echo "FAILED: deskmate.exe did not end after Escape" >&2
  kill "$program_pid" 2>/dev/null
  failures=$((failures + 1))
fi

[ "$failures" = 0 ]
