# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash
# What the command-line checks share; each sources it first:
#   source "$(dirname "$0")/harness.sh"
# and sets cli to the tessaly-cli to run, and subcommand to the command that
# run and expect put before their arguments (none when unset).
#   $scratch                a directory removed on exit; $out and $err are files in it
#   fail TEXT               reports a failed check and counts it
#   run ARGS...             runs the command: stdout in $out, stderr in $err, status in $rc
#   expect STATUS ARGS...   runs it with no standard input and checks the status; for a
#                           non-zero status also an empty stdout and a message on stderr
#   unknown_mode            the script was given a mode it does not know: exit 2
#   finish [TEXT]           exit 1 if a check failed, else print TEXT (default "ok")
set -uo pipefail
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
out=$scratch/out
err=$scratch/err

fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

run() {
  "$cli" ${subcommand:+"$subcommand"} "$@" >"$out" 2>"$err"
  rc=$?
}

expect() {
  local want=$1
  shift
  run "$@" </dev/null
  if [[ $rc -ne $want ]]; then
    fail "${subcommand:-tessaly-cli} $* -> exit $rc, expected $want"
  elif [[ $want -ne 0 ]]; then
    [[ -s $out ]] && fail "${subcommand:-tessaly-cli} $* -> something on stdout"
    [[ -s $err ]] || fail "${subcommand:-tessaly-cli} $* -> nothing on stderr"
  fi
}

unknown_mode() {
  echo "unknown mode $mode" >&2
  exit 2
}

finish() {
  if [[ $failures -ne 0 ]]; then
    echo "$failures check(s) failed" >&2
    exit 1
  fi
  echo "${1:-ok}"
}
