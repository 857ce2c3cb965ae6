#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks of `tessaly-cli names`.
#   names_check.sh options CLI CHARS   bad options: exit 2, nothing on stdout
#   names_check.sh output CLI CHARS    lines, --sort, --min-rating, JSON, warnings, --generate
#   names_check.sh agree CLI CHARS     names and `report --readings name` give the same grids
#                                      for 1,000 random names
# CHARS is the shipped character list (data/names/given_chars.txt).
source "$(dirname "$0")/harness.sh"
mode=$1
cli=$2
chars_file=$3
subcommand=names

# feed TEXT ARGS...: runs with the printf-expanded TEXT on standard input.
feed() {
  printf "$1" >"$scratch/in"
  shift
  run "$@" <"$scratch/in"
}

# The characters of the list, one per line.
list_chars() { grep -v '^#' "$chars_file" | tr -d '\n' | grep -o .; }

case $mode in
options)
  expect 2
  expect 2 --surname ""
  expect 2 --surname 张三丰
  expect 2 --surname 张 --surname-kind 双姓
  expect 2 --surname 张 --min-rating 好
  expect 2 --surname 张 --format xml
  expect 2 --surname 张 --no-such-option
  expect 2 --surname 张 a b
  expect 2 --surname 张 --length 1
  expect 2 --surname 张 --generate --length 3
  expect 2 --surname 张 --generate --fixed 明明
  expect 2 --surname 张 --generate --length 1 --fixed 明
  expect 2 --surname 张 --generate --position 2
  expect 2 --surname 张 --generate names.txt
  expect 1 --surname 张 "$scratch/no-such-file"
  # Every message under the command's name, as the other commands give them.
  for args in "--surname 张 ''" "--surname 张 -1" "''"; do
    eval "expect 2 $args"
    [[ $(head -n 1 "$err") == "tessaly-cli names: "?* ]] || fail "names $args: $(head -n 1 "$err")"
  done
  grep -q "unknown option '-1'" <("$cli" names --surname 张 -1 2>&1) || fail "names -1"
  # More than 10^8 generated names are refused, naming the count.
  python3 -c 'print("".join(chr(0x4E00 + i) for i in range(10001)))' >"$scratch/many"
  expect 1 --surname 张 --generate --chars "$scratch/many"
  grep -q '100020001' "$err" || fail "--generate 10001^2: $(cat "$err")"
  # 10^8 names are allowed, but their scores do not fit in 110 MB: exit 1 and a
  # message, not an abort. (A sanitizer build cannot run under a memory limit.)
  if ! grep -q __asan_init "$cli"; then
    python3 -c 'print("".join(chr(0x4E00 + i) for i in range(10000)))' >"$scratch/many"
    (ulimit -v 110000 && exec "$cli" names --surname 张 --generate --chars "$scratch/many" \
      >"$out" 2>"$err" </dev/null)
    rc=$?
    [[ $rc -eq 1 && ! -s $out && $(tail -n 1 "$err") == "tessaly-cli names: out of memory" ]] ||
      fail "out of memory: exit $rc, $(tail -n 1 "$err")"
  fi
  expect 0 --help
  grep -q -- '--min-rating' "$out" || fail "--help does not list the options"
  ;;
output)
  # One line per name, blank lines skipped, CR LF and single-byte characters dropped.
  feed '小明\r\n\n 白 \n雨辰a\n' --surname 张
  [[ $rc -eq 0 ]] || fail "lines: exit $rc: $(cat "$err")"
  printf '张小明\t22\t12\t14\t11\t9\t木火木\t凶\t凶\t大吉\t凶\t大吉\t55\n' >"$scratch/want"
  head -n 1 "$out" | cmp -s - "$scratch/want" || fail "张小明 line: $(head -n 1 "$out")"
  [[ $(cut -f1 "$out" | tr '\n' ' ') == "张小明 张白 张雨辰 " && ! -s $err ]] ||
    fail "names: $(cut -f1 "$out") $(cat "$err")"
  # A line of single-byte characters alone is named on standard error.
  feed '明\nabc 12\n' --surname 张
  [[ $(wc -l <"$out") -eq 1 && $(cat "$err") == *"line 2 has no Chinese characters"* ]] ||
    fail "abc line: $(cat "$out") $(cat "$err")"
  # A line holding a control character is named and left out, the others go on.
  feed '明\n小\xc2\x85明\n小\xe2\x80\xae明\n小\x1b明\n安\xe2\x80\xa8宁\n文\n' --surname 张
  [[ $(cut -f1 "$out" | tr '\n' ' ') == "张明 张文 " && $(grep -c 'holds a control character' "$err") -eq 4 ]] ||
    fail "control characters: $(cut -f1 "$out") $(cat "$err")"
  # The longest fields: a name of 20,000 four-byte characters, and grids missing.
  python3 -c 'print("𠮷" * 16000); print("龘" * 4000)' >"$scratch/long"
  run --surname 张 --format json "$scratch/long"
  python3 - "$out" <<'PY' || fail "long names: $(head -c 200 "$out")"
import json, sys
rows = json.load(open(sys.argv[1], encoding="utf-8"))
assert [r["name"] for r in rows] == ["张" + "𠮷" * 16000, "张" + "龘" * 4000], [len(r["name"]) for r in rows]
PY
  # A line beyond 64 KiB is named and passed over without being held.
  python3 -c 'print("明" * 30000); print("文")' >"$scratch/long"
  run --surname 张 "$scratch/long"
  [[ $(cut -f1 "$out") == 张文 && $(cat "$err") == *"line 1 is longer than 65536 bytes"* ]] ||
    fail "long line: $(cut -f1 "$out") $(cat "$err")"
  # A compound surname gets 复姓 by itself; 司马光 is worked out by hand.
  feed '光' --surname 司马
  [[ $(cat "$out") == $'司马光\t21\t15\t16\t7\t2\t土土金\t大吉\t大吉\t吉\t凶\t吉\t81' ]] \
    || fail "司马光: $(cat "$out")"
  # --sort: highest score first, equal scores in input order (300 two-character names).
  list_chars | head -n 600 | paste -d '' - - >"$scratch/given"
  run --surname 李 "$scratch/given"
  cp "$out" "$scratch/unsorted"
  run --surname 李 --sort "$scratch/given"
  sort -t $'\t' -k13,13nr -s "$scratch/unsorted" | cmp -s - "$out" || fail "--sort is not stable"
  # --min-rating 吉: exactly the names whose five ratings are all 吉 or 大吉.
  good() { awk -F'\t' '{ for (i = 8; i <= 12; i++) if ($i != "吉" && $i != "大吉") next; print }' "$1"; }
  run --surname 李 --min-rating 吉 "$scratch/given"
  [[ -s $out ]] && good "$scratch/unsorted" | cmp -s - "$out" || fail "--min-rating 吉: $(head -n 3 "$out")"
  # A character without a stroke count (Hangul): a warning, empty grids, the
  # other names go on; rare ideographs outside GBK have their counts.
  feed '김\n明\n김\n𠮷\n' --surname 张
  [[ $(wc -l <"$err") -eq 1 ]] && grep -q '김' "$err" || fail "warning: $(cat "$err")"
  [[ $(head -n 1 "$out") == $'张김\t\t12\t\t\t2\t木\t\t\t\t凶\t\t3' ]] || fail "김: $(head -n 1 "$out")"
  [[ $(tail -n 1 "$out") == $'张𠮷\t17\t12\t17\t7\t2\t木金金\t吉\t吉\t吉\t凶\t中吉\t64' ]] || fail "𠮷: $(tail -n 1 "$out")"
  [[ $(wc -l <"$out") -eq 4 ]] || fail "names after the warning are lost"
  # JSON: the same values under their names.
  feed '小明\n김\n' --surname 张 --format json
  python3 - "$out" <<'PY' || fail "json: $(cat "$out")"
import json, sys
rows = json.load(open(sys.argv[1], encoding="utf-8"))
assert rows[0] == {"name": "张小明", "total": 22, "heaven": 12, "person": 14, "earth": 11,
                   "outer": 9, "talents": "木火木", "ratings": {"total": "凶", "person": "凶",
                   "earth": "大吉", "outer": "凶", "talents": "大吉"}, "score": 55}, rows[0]
assert rows[1]["total"] is None and rows[1]["ratings"]["talents"] is None, rows[1]
PY
  # --generate: the shipped list, one character; a generation character; a list of our own.
  run --surname 王 --generate --length 1
  [[ $(wc -l <"$out") -eq $(list_chars | wc -l) && ! -s $err ]] || fail "generate 1: $(wc -l <"$out") lines, $(cat "$err")"
  sort -t $'\t' -k13,13nr -c -s "$out" || fail "generated names are not sorted"
  run --surname 张 --generate --fixed 文 --position 2 --min-rating 半吉
  [[ -s $out ]] && ! cut -f1 "$out" | grep -qv '^张.文$' || fail "generation character: $(head -n 2 "$out")"
  printf '# mine\n安 宁\n安\n' >"$scratch/chars"
  run --surname 王 --generate --chars "$scratch/chars"
  [[ $(cut -f1 "$out" | sort | tr '\n' ' ') == "王宁宁 王宁安 王安宁 王安安 " ]] || fail "--chars: $(cut -f1 "$out")"
  ;;
agree)
  # 1,000 names: single and compound surnames, given names of one to three
  # characters from the shipped list and a few without stroke counts.
  mapfile -t pool < <(list_chars)
  pool+=(𠮷 䶮 龘 김)
  RANDOM=15
  for surname in 张 欧阳; do
    kind=单姓
    [[ ${#surname} -eq 2 ]] && kind=复姓
    : >"$scratch/given"
    for ((i = 0; i < 500; i++)); do
      given=""
      for ((k = RANDOM % 3; k >= 0; k--)); do given+=${pool[RANDOM % ${#pool[@]}]}; done
      echo "$given" >>"$scratch/given"
    done
    run --surname "$surname" "$scratch/given"
    [[ $rc -eq 0 && $(wc -l <"$out") -eq 500 ]] || fail "$surname: exit $rc, $(wc -l <"$out") lines"
    # What the name reading shows: its grid line and its three talents.
    awk -F'\t' '{ printf "%s\t    总格：%s； 天格：%s； 人格：%s； 地格：%s； 外格：%s\t    该姓名三才：%s\n", $1, $2, $3, $4, $5, $6, $7 }' \
      "$out" >"$scratch/want"
    # One report process per name, on every core, a shell for each batch of
    # names; each report goes to the file r-NAME.
    mkdir "$scratch/r"
    cut -f1 "$out" | xargs -P "$(nproc)" -n 50 sh -c '
      cli=$1 kind=$2 dir=$3
      shift 3
      for name; do
        "$cli" report --readings name --surname-kind "$kind" --name "$name" 2>/dev/null >"$dir/r-$name" ||
          echo "report $name failed"
      done
    ' - "$cli" "$kind" "$scratch/r" >"$scratch/failed"
    [[ -s $scratch/failed ]] && fail "$(head -n 3 "$scratch/failed")"
    # What each report shows: its last line (the grids) and the one before (the talents).
    (cd "$scratch/r" && awk '
      FNR == 1 && NR > 1 { print name "\t" last "\t" before }
      FNR == 1 { name = substr(FILENAME, 3) }
      { before = last; last = $0 }
      END { if (NR > 0) print name "\t" last "\t" before }
    ' r-*) | sort -u >"$scratch/got"
    sort -u "$scratch/want" | diff - "$scratch/got" >"$scratch/diff" ||
      fail "$kind: names (<) and report (>) differ: $(head -n 4 "$scratch/diff")"
    rm -rf "$scratch/r"
  done
  ;;
*) unknown_mode ;;
esac

finish
