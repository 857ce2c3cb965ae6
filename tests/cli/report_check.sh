#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks of `tessaly-cli report`.
#   report_check.sh options CLI DATA    bad options: exit 2, nothing on stdout
#   report_check.sh errors CLI DATA     errors: exit 1, the message on stderr, nothing on stdout
#   report_check.sh messages CLI DATA   a message box goes to stderr and the report goes on
#   report_check.sh encoding CLI DATA   --encoding gbk gives GBK with CR LF
#   report_check.sh names CLI DATA      --name drops single-byte characters; characters
#                                       outside GBK come out in GB18030, and one without
#                                       a stroke count is named on stderr
#   report_check.sh stored CLI DATA     whole reports equal the stored expected files
# DATA is the tests/data/report directory.
source "$(dirname "$0")/harness.sh"
mode=$1
cli=$2
data=$3
subcommand=report

case $mode in
options)
  expect 2 --sex x
  expect 2 --surname 单
  expect 2 --surname-kind 单
  expect 2 --format xml
  expect 2 --format json --encoding gbk
  expect 2 --wish 男
  expect 2 --readings name,palm
  expect 2 --encoding latin1
  expect 0 --readings star --encoding gb18030
  expect 2 --birthday 2004-02-31
  expect 2 --birthday yesterday
  expect 2 --birthday 1900-12-31
  expect 2 --birthday 2051-01-01
  expect 2 --no-such-option 1
  expect 2 --name
  expect 2 stray
  expect 2 --page ""
  expect 2 --readings ""
  expect 2 --readings ,,
  expect 0 --help
  grep -q -- '--readings <LIST>' "$out" || fail "--help does not list the options"
  # Both option forms and the edge dates of the calendar are accepted.
  expect 0 --readings=star --birthday=1901-01-01
  expect 0 --readings ,star, --birthday 2050-12-31
  # The birth moment's options.
  for bad in "--time 24:00" "--time 7" "--time 12:5x" "--place 火星" "--longitude 72.9" \
    "--longitude 135.1" "--longitude east" "--dst on" "--late-zi early"; do
    read -ra args <<<"$bad"
    expect 2 --readings bazi "${args[@]}"
  done
  expect 0 --readings bazi --birthday 2050-12-31 --time 23:59 --place 台北 --dst off
  expect 0 --readings bazi --birthday 1901-01-01 --time 0:00 --longitude 73 --late-zi same-day
  ;;
errors)
  # A bad hour, age or month is a bad value whatever the readings, quoted as typed;
  # +18 is refused by every age option alike.
  while IFS='|' read -r row option value; do
    expect 2 --readings star "$option" "$value"
    grep -qF -- "$option takes" "$err" && grep -qF "'$value'" "$err" || fail "$row: $(head -n 1 "$err")"
    [[ $(head -n 1 "$err") == "tessaly-cli report: "* ]] || fail "$row: no prefix"
  done <<'ROWS'
hour not in the list|--hour|午夜
age below the charts|--mother-age|12
age with blanks|--mother-age| 18 
age too big for an integer|--mother-age|2147483647
signed mother's age|--mother-age|+18
signed conception age|--conception-age|+18
conception age no number|--conception-age|abc
month 13|--pregnancy-month|13
ROWS
  # --surname is the old spelling of --surname-kind: it works, with a warning.
  run --readings star --surname 复姓
  [[ $rc -eq 0 && $(cat "$err") == "tessaly-cli report: --surname is the old spelling of --surname-kind"* ]] ||
    fail "--surname: exit $rc, $(cat "$err")"
  # The page cannot be written: nothing on stdout either.
  expect 1 --readings star --page "$scratch/no/such/dir/page.htm"
  # The hour China's clocks skipped on 17 April 1988.
  expect 1 --readings bazi --birthday 1988-04-17 --time 02:30
  grep -q '并不存在' "$err" || fail "skipped hour: $(cat "$err")"
  ;;
messages)
  for number in 123 "" 1380013800x; do
    run --readings mobile --mobile "$number"
    [[ $rc -eq 0 ]] || fail "mobile '$number' -> exit $rc"
    [[ $(cat "$err") == "tessaly-cli report: 手机号码输入错误，测算失败！" ]] || fail "mobile '$number' stderr: $(cat "$err")"
    grep -q '【※手机号码吉凶预测】' "$out" || fail "mobile '$number': no section"
    [[ $(tail -n 1 "$out") == "    " ]] || fail "mobile '$number': verdict line not empty"
  done
  run --readings mobile --mobile 13800001234
  [[ $rc -eq 0 && ! -s $err ]] || fail "good mobile number: exit $rc, stderr $(cat "$err")"
  [[ $(tail -n 1 "$out") == "    灾难不绝，难望成功　凶" ]] || fail "mobile 1234: $(tail -n 1 "$out")"
  # A compound surname read as 单姓: a warning, and the kind stays as given.
  run --readings name --name 司马光
  [[ $rc -eq 0 ]] || fail "司马光: exit $rc"
  grep -q '^tessaly-cli report: 司马 is a compound surname' "$err" || fail "司马光 stderr: $(cat "$err")"
  run --readings name --name 司马光 --surname-kind 复姓
  [[ ! -s $err ]] || fail "司马光 复姓 stderr: $(cat "$err")"
  ;;
encoding)
  args=(--readings star --name 张小明 --birthday 2005-03-02 --hour 子时)
  run "${args[@]}" --encoding gbk
  [[ $rc -eq 0 ]] || fail "gbk: exit $rc"
  printf '    张小明  生于 2005-03-02  农历乙酉年正月廿二  子时\r\n' | iconv -f UTF-8 -t GBK >"$scratch/want"
  head -n 1 "$out" | cmp -s - "$scratch/want" || fail "gbk header bytes: $(od -An -tx1 "$out" | head -3)"
  # 张 is D5 C5 in GBK.
  [[ $(head -c 6 "$out" | od -An -tx1 | tr -d ' \n') == 20202020d5c5 ]] || fail "gbk: first bytes"
  run "${args[@]}"
  printf '    张小明  生于 2005-03-02  农历乙酉年正月廿二  子时\n' >"$scratch/want"
  head -n 1 "$out" | cmp -s - "$scratch/want" || fail "utf-8 header bytes"
  # The whole default report: the GBK form is the UTF-8 form converted, line for line.
  run --name 张小明 --birthday 2005-03-02 --encoding gbk
  sed 's/$/\r/' "$data/default_2005-03-02.txt" | iconv -f UTF-8 -t GBK >"$scratch/want"
  cmp -s "$out" "$scratch/want" || fail "gbk default report differs"
  ;;
names)
  header() { printf '    %s  生于 2005-03-02  农历乙酉年正月廿二  子时\r\n' "$1"; }
  # name typed -> name in the header
  while IFS='|' read -r row typed kept; do
    for encoding in gbk gb18030; do
      run --readings star --birthday 2005-03-02 --hour 子时 --name "$typed" --encoding $encoding \
        --page "$scratch/page.htm"
      header "$kept" | iconv -f UTF-8 -t GB18030 >"$scratch/want"
      [[ $rc -eq 0 ]] || fail "$row ($encoding): exit $rc: $(cat "$err")"
      head -n 1 "$out" >"$scratch/first"
      cmp -s "$scratch/first" "$scratch/want" || fail "$row ($encoding): $(od -An -tx1 "$scratch/first" | head -2)"
      grep -qF "$(head -c -2 "$scratch/want")" "$scratch/page.htm" || fail "$row: not in the page"
    done
  done <<'ROWS'
single-byte characters dropped|a张-1小 明.|张小明
outside GBK|吉𠮷䶮|吉𠮷䶮
emoji|李😀|李😀
ROWS
  # 𠮷 and 䶮 have stroke counts; a Hangul letter has none.
  run --readings name --name 吉𠮷䶮 --birthday 2005-03-02
  [[ $rc -eq 0 && ! -s $err ]] || fail "rare characters: exit $rc, $(cat "$err")"
  grep -qxF "    总格：32； 天格：7； 人格：12； 地格：26； 外格：21" "$out" || fail "rare characters: $(tail -n 1 "$out")"
  run --readings name --name 李김 --birthday 2005-03-02
  [[ $rc -eq 0 ]] || fail "missing stroke: exit $rc"
  [[ $(cat "$err") == "tessaly-cli report: 字库中查不到“김”的笔画数，姓名中与之相关的格将留空。" ]] \
    || fail "missing stroke stderr: $(cat "$err")"
  grep -q '【※姓名祸福预测】' "$out" || fail "missing stroke: no name section"
  ;;
stored)
  # The hour by its name or by its entry, and an empty hour (the first entry).
  for hour in 子时 "23-01时 子时" ""; do
    run --name 张小明 --birthday 2005-03-02 --hour "$hour"
    [[ $rc -eq 0 ]] || fail "default report: exit $rc: $(cat "$err")"
    cmp -s "$out" "$data/default_2005-03-02.txt" || fail "default report (hour '$hour') differs"
  done
  all=(--sex 女 --birthday 2004-03-21 --hour 午时 --mobile 13912340080 --mother-age 31
       --pregnancy-month 07 --conception-age 42 --wish 女孩
       --readings name,lifetime,zodiac,star,mobile,sex,conception)
  run --name 欧阳雨辰 --surname 复姓 "${all[@]}" --page "$scratch/page.htm"
  [[ $rc -eq 0 ]] || fail "all readings: exit $rc: $(cat "$err")"
  cmp -s "$scratch/page.htm" "$data/all_2004-03-21.htm" || fail "all-readings page differs"
  # The printed report is the page's paragraphs.
  iconv -f GBK -t UTF-8 "$scratch/page.htm" | tr -d '\r' | sed -n '5,$p' | awk 'NR % 2 == 1' \
    | head -n "$(wc -l <"$out")" >"$scratch/paragraphs"
  cmp -s "$out" "$scratch/paragraphs" || fail "printed report and page paragraphs differ"
  # --surname-kind is --surname's clearer name; --format tsv is the plain report,
  # --format json the same report with each reading's fields.
  cp "$out" "$scratch/plain"
  run --name 欧阳雨辰 --surname-kind 复姓 "${all[@]}" --format tsv
  cmp -s "$out" "$scratch/plain" || fail "--surname-kind --format tsv differs"
  # The four pillars in JSON: 1988-02-15 23:30, a woman, in Beijing.
  run --readings bazi --birthday 1988-02-15 --time 23:30 --sex 女 --place 北京 --format json
  python3 - "$out" <<'PY' || fail "bazi json: $(head -c 300 "$out")"
import json, sys
b = json.load(open(sys.argv[1], encoding="utf-8"))["bazi"]
assert b["moment"] == "1988-02-15T23:01:23", b["moment"]
assert b["pillars"] == {"year": "戊辰", "month": "甲寅", "day": "辛丑", "hour": "戊子"}, b
assert b["hidden_stems"]["day"] == "己癸辛" and b["hidden_ten_gods"]["day"] == ["偏印", "食神", "比肩"]
assert b["ten_gods"] == {"year": "正印", "month": "正财", "hour": "正印"}, b["ten_gods"]
assert b["nayin"]["month"] == "大溪水" and b["void"] == "辰巳"
assert sum(b["elements"].values()) == 8 and abs(sum(b["weighted_elements"].values()) - 9) < 1e-9
assert b["luck"]["forward"] is False and len(b["luck"]["periods"]) == 8
assert b["luck"]["start"] == {"years": 3, "months": 8, "days": 3, "hours": 22}, b["luck"]
assert b["luck"]["start_date"] == "1991-10-19", b["luck"]
assert b["luck"]["periods"][0] == {"pillar": "癸丑", "year": 1991, "age": 4}, b["luck"]
assert set(b["this_year"]) == {"pillar", "ten_god"} and b["section"] and len(b["corrections"]) == 1
PY
  run --name 欧阳雨辰 --surname-kind 复姓 "${all[@]}" --format json
  python3 - "$out" "$scratch/plain" <<'PY' || fail "json: $(head -c 300 "$out")"
import json, sys
d = json.load(open(sys.argv[1], encoding="utf-8"))
assert d["report"] == open(sys.argv[2], encoding="utf-8").read().splitlines(), "report lines"
n = d["name"]
assert (n["characters"], n["strokes"], n["total"], n["heaven"], n["person"], n["earth"],
        n["outer"], n["talents"], n["score"]) == (list("欧阳雨辰"), [15, 17, 8, 7], 47, 32, 25,
        15, 22, "木土土", 64), n
assert n["ratings"] == {"total": "吉", "person": "吉", "earth": "大吉", "outer": "凶",
                        "talents": "凶"}, n["ratings"]
assert d["lunar"] == {"year": "甲申年", "animal": "猴", "month": "闰二", "day": "初一"}, d["lunar"]
l = d["lifetime"]
assert [l[k] for k in ("hour", "year_weight", "month_weight", "day_weight", "hour_weight")] \
    == ["午时", "05", "07", "05", "10"] and "    " + l["verse_first"] in l["section"], l
assert d["zodiac"]["key"] == "猴" and d["star_sign"]["key"] == "白羊座", d
assert d["mobile"]["verdict"] and d["child_sex"]["sentence"] and d["conception"]["sentence"], d
PY
  ;;
*) unknown_mode ;;
esac

finish
