#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks of `tessaly-cli almanac`.
#   almanac_check.sh range CLI    the whole range as TSV, and one day as JSON
#   almanac_check.sh find CLI     --find and its filters
#   almanac_check.sh options CLI  bad options exit 2 with the command's message
source "$(dirname "$0")/harness.sh"
mode=$1
cli=$2
subcommand=almanac

case $mode in
range)
  run 1901-01-01 2050-12-31
  [[ $rc -eq 0 && ! -s $err ]] || fail "whole range: exit $rc, stderr '$(head -c 200 "$err")'"
  [[ $(wc -l <"$out") -eq 54787 ]] || fail "whole range: $(wc -l <"$out") lines, expected 54787"
  bad=$(awk -F'\t' 'NF != 17 || $15 == "" || split($17, h, " ") != 12 { print $1; exit }' "$out")
  [[ -z $bad ]] || fail "$bad: not seventeen fields, no 宜 or not twelve hours"
  # 2024-09-18 as printed almanacs give it (see the unit tests); 福神 东南 by our verse.
  line=$(grep '^2024-09-18' "$out" | cut -f1-14 | tr '\t' '|')
  [[ $line == '2024-09-18|建|玉堂|黄道|轸水蚓|己卯|兔|东|乙不栽植千株不长|酉不会客醉坐颠狂|西北|东南|东北|碓磨门外西北' ]] ||
    fail "2024-09-18: $line"
  [[ $(grep -c $'\t诸事不宜\t' "$out") -gt 0 ]] || fail "no 诸事不宜 day"

  run --format json 2024-09-18
  [[ $rc -eq 0 ]] || fail "json: exit $rc"
  python3 - "$out" <<'EOF' || fail "json: fields"
import json, sys
days = json.load(open(sys.argv[1], encoding="utf-8"))
d = days[0]
assert len(days) == 1
assert list(d) == ["date", "jianchu", "tianshen", "huangdao", "xiu", "chong", "sha", "pengzu",
                   "directions", "tai", "yi", "ji", "hours"], list(d)
assert d["chong"] == {"pillar": "己卯", "animal": "兔"}, d["chong"]
assert list(d["pengzu"]) == ["stem", "branch"] and list(d["directions"]) == ["xi", "fu", "cai"]
assert len(d["hours"]) == 12 and d["hours"][2] == {"branch": "寅", "tianshen": "青龙", "huangdao": "黄道"}
assert isinstance(d["yi"], list) and isinstance(d["ji"], list)
EOF
  ;;
find)
  run --find 嫁娶 2025-01-01 2025-12-31
  all=$(wc -l <"$out")
  [[ $rc -eq 0 && $all -gt 0 ]] || fail "--find 嫁娶: exit $rc, $all days"
  bad=$(awk -F'\t' '(" " $15 " ") !~ / 嫁娶 / || (" " $16 " ") ~ / 嫁娶 /' "$out" | head -1)
  [[ -z $bad ]] || fail "--find 嫁娶 lists a day that does not suit it: $bad"
  run --find 嫁娶 --avoid-animal 龙 --huangdao 2025-01-01 2025-12-31
  some=$(wc -l <"$out")
  [[ $rc -eq 0 && $some -gt 0 && $some -lt $all ]] || fail "filters: exit $rc, $some of $all days"
  bad=$(awk -F'\t' '$7 == "龙" || $4 != "黄道"' "$out" | head -1)
  [[ -z $bad ]] || fail "filters let through: $bad"
  run --find 开市 --format json 2025-02-01 2025-02-28
  [[ $rc -eq 0 ]] && python3 -c 'import json,sys; d=json.load(open(sys.argv[1])); assert all("开市" in x["yi"] for x in d)' "$out" ||
    fail "--find with json"
  # A range without a suitable day gives an empty list.
  run --find 嫁娶 --format json 2023-02-03
  [[ $rc -eq 2 ]] || fail "--find with one date: exit $rc"
  run --find 嫁娶 --format json 2023-02-03 2023-02-03
  [[ $rc -eq 0 && $(tr -d '\n' <"$out") == '[]' ]] || fail "no day found: '$(cat "$out")'"
  ;;
options)
  for args in "--frobnicate 2024-01-01" "--format xml 2024-01-01" "--find 吃饭 2024-01-01 2024-01-31" \
    "--avoid-animal 龙 2024-01-01" "--huangdao 2024-01-01" \
    "--find 嫁娶 --avoid-animal 猫 2024-01-01 2024-01-31" "1900-12-31" "2050-12-31 2051-01-01" \
    "2024-02-02 2024-02-01" "2024-02-30" "" "2024-01-01 2024-01-02 2024-01-03" "--find"; do
    # shellcheck disable=SC2086
    expect 2 $args
    [[ $rc -ne 2 ]] || head -1 "$err" | grep -q '^tessaly-cli almanac' ||
      fail "'$args': message '$(head -1 "$err")'"
  done
  expect 0 --help
  grep -q -- '--avoid-animal' "$out" || fail "--help does not name --avoid-animal"
  ;;
*) unknown_mode ;;
esac

finish "almanac $mode: all checks passed"
