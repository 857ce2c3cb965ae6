#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Exit status and output of tessaly-cli when things go wrong.
#   exit_check.sh write CLI     standard output cannot be written: exit 1 with a message
#   exit_check.sh page CLI      --page naming the file standard output goes to: exit 2
#   exit_check.sh values CLI    control characters and malformed UTF-8: exit 2
#   exit_check.sh damaged CLI   a command that fails half-way prints nothing
source "$(dirname "$0")/harness.sh"
mode=$1
cli=$2

# check NAME WANT: the status in $rc, nothing on stdout unless told, a message on stderr.
check() {
  [[ $rc -eq $2 ]] || fail "$1: exit $rc, expected $2"
  [[ -s $err ]] || fail "$1: no message"
}

commands=(
  "strokes 张三"
  "calendar 1901-01-01 2050-12-31"
  "report --readings all --birthday 2004-03-21"
  "--help"
)

case $mode in
write)
  for c in "${commands[@]}"; do
    read -ra args <<<"$c"
    "$cli" "${args[@]}" >/dev/full 2>"$err"
    rc=$?
    check "$c >/dev/full" 1
    grep -q 'No space left' "$err" || fail "$c >/dev/full: $(cat "$err")"
    "$cli" "${args[@]}" >&- 2>"$err"
    rc=$?
    check "$c >&-" 1
    [[ $c == strokes* || $c == --help ]] && continue # fits in 1 KiB
    # A file-size limit of 1 KiB: a cut-off file, but not a silent one.
    (ulimit -f 1 && exec "$cli" "${args[@]}" >"$out" 2>"$err")
    rc=$?
    check "$c with ulimit -f 1" 1
  done
  ;;
page)
  args=(report --readings star --birthday 2004-03-21)
  run "${args[@]}" --page /dev/stdout
  check "--page /dev/stdout" 2
  "$cli" "${args[@]}" --page "$out" >>"$out" 2>"$err"
  rc=$?
  check "--page to the same file" 2
  ln -s "$out" "$scratch/link.htm"
  run "${args[@]}" --page "$scratch/link.htm"
  check "--page through a symbolic link" 2
  [[ -s $out ]] && fail "refused page: something on stdout"
  # Another file is fine.
  run "${args[@]}" --page "$scratch/page.htm"
  [[ $rc -eq 0 && -s $out && -s $scratch/page.htm ]] || fail "separate page: exit $rc"
  [[ $(stat -c %a "$scratch/page.htm") == 600 ]] || fail "new page: mode $(stat -c %a "$scratch/page.htm")"
  # A page name of 255 bytes is replaced; a loop of links is refused.
  long=$scratch/$(printf '张%.0s' {1..85})
  for i in 1 2; do run "${args[@]}" --page "$long"; done
  [[ $rc -eq 0 && -s $long ]] || fail "255-byte page name: exit $rc, $(cat "$err")"
  ln -s "$scratch/loop2" "$scratch/loop1" && ln -s "$scratch/loop1" "$scratch/loop2"
  run "${args[@]}" --page "$scratch/loop1"
  check "--page through a loop of links" 1
  [[ $(cat "$err") == "tessaly-cli report: "*循环* ]] || fail "link loop: $(cat "$err")"
  ;;
values)
  for value in $'张\e[31m红' $'张\n    【※姓名测试】' $'张\x7f' $'张\xc2\x9b' $'张\xff' $'张\xe5' $'\xc0\xaf' $'\xed\xa0\x80'; do
    shown=$(printf '%q' "$value")
    run report --name "$value"
    check "--name $shown" 2
    [[ -s $out ]] && fail "--name $shown: something on stdout"
    LC_ALL=C grep -q $'[\x01-\x08\x0b-\x1f\x7f]' "$err" && fail "--name $shown: control character in the message"
    run strokes "$value"
    check "strokes $shown" 2
  done
  # A TAB is no control character here.
  run report --readings star --name $'张\t三'
  [[ $rc -eq 0 ]] || fail "a TAB in --name is refused"
  ;;
damaged)
  # A store whose stroke rows are damaged half-way: the first characters are
  # found before the damage shows.
  mkdir -p "$scratch/bin" "$scratch/share/tessaly"
  cp "$cli" "$scratch/bin/"
  store=$scratch/share/tessaly/kvdata.dat
  cp "$(dirname "$cli")/../share/tessaly/kvdata.dat" "$store"
  printf 'XXXXXXXXXXXXXXXX' | dd of="$store" bs=1 seek=$((30 * 1024 + 100)) conv=notrunc 2>/dev/null
  "$scratch/bin/tessaly-cli" strokes 一二三龘 >"$out" 2>"$err"
  rc=$?
  check "strokes on a damaged store" 1
  [[ -s $out ]] && fail "strokes on a damaged store printed: $(head -c 60 "$out")"
  grep -q '^tessaly-cli strokes: 参考数据库已损坏：' "$err" || fail "damaged store: $(cat "$err")"
  ;;
*) unknown_mode ;;
esac

finish
