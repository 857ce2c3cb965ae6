#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks of `tessaly-cli calendar`.
#   calendar_check.sh range CLI      the whole range 1901-01-01 .. 2050-12-31
#   calendar_check.sh bad-input CLI  invalid dates and reversed ranges are bad options
source "$(dirname "$0")/harness.sh"
mode=$1
cli=$2
subcommand=calendar

# expect_line FILE FIELD... : the TAB-joined fields must be a whole line of FILE.
expect_line() {
  local file=$1
  shift
  local line
  line=$(printf '%s\t' "$@")
  line=${line%$'\t'}
  if ! grep -qxF -- "$line" "$file"; then
    fail "missing line: $(printf '%s' "$line" | tr '\t' '|')"
    grep -F -- "$1"$'\t' "$file" | tr '\t' '|' | sed 's/^/      got: /' >&2
  fi
}

case $mode in
range)
  run 1901-01-01 2050-12-31
  [[ $rc -eq 0 ]] || fail "exit status $rc"
  [[ -s $err ]] && fail "unexpected stderr: $(cat "$err")"
  lines=$(wc -l <"$out")
  [[ $lines -eq 54787 ]] || fail "$lines lines, expected 54787"
  [[ $(head -c 10 "$out") == 1901-01-01 ]] || fail "first line is not 1901-01-01"
  [[ $(tail -n 1 "$out" | cut -c1-10) == 2050-12-31 ]] || fail "last line is not 2050-12-31"
  # Every line has eleven fields.
  bad=$(awk -F'\t' 'NF != 11 { print NR; exit }' "$out")
  [[ -z $bad ]] || fail "line $bad does not have eleven fields"
  # The solar terms: 24 days a year, 3,600 in all.
  terms=$(awk -F'\t' '$11 != ""' "$out" | wc -l)
  [[ $terms -eq 3600 ]] || fail "$terms solar-term days, expected 3600"
  bad=$(awk -F'\t' '$11 != "" { n[substr($1, 1, 4)]++ }
                     END { for (y in n) if (n[y] != 24) { print y; exit } }' "$out")
  [[ -z $bad ]] || fail "$bad does not have 24 solar-term days"

  expect_line "$out" 1901-01-01 1111 冬月十一 冬月 十一 "庚子 戊子   " 鼠年 1900 庚子鼠 摩羯座 ""
  expect_line "$out" 2004-01-22 101 正月初一 一月 初一 "甲申 乙丑   " 猴年 2004 甲申猴 水瓶座 ""
  expect_line "$out" 2004-03-21 -201 闰二初一 闰二 初一 "甲申 丁卯   " 猴年 2004 甲申猴 白羊座 ""
  expect_line "$out" 2004-08-01 616 六月十六 六月 十六 "甲申 辛未   " 猴年 2004 甲申猴 狮子座 ""
  expect_line "$out" 2034-01-01 -1111 闰冬十一 闰冬 十一 "癸丑 甲子   " 牛年 2033 癸丑牛 摩羯座 ""
  expect_line "$out" 2050-12-31 1118 冬月十八 冬月 十八 "庚午 戊子   " 马年 2050 庚午马 摩羯座 ""
  expect_line "$out" 1989-08-01 630 六月三十 六月 三十 "己巳 辛未   " 蛇年 1989 己巳蛇 狮子座 ""
  expect_line "$out" 1989-08-02 701 七月初一 七月 初一 "己巳 辛未   " 蛇年 1989 己巳蛇 狮子座 ""
  expect_line "$out" 2013-06-12 505 五月初五 五月 初五 "癸巳 戊午   " 蛇年 2013 癸巳蛇 双子座 ""
  expect_line "$out" 2023-01-21 1230 腊月三十 腊月 三十 "壬寅 癸丑   " 虎年 2022 壬寅虎 水瓶座 ""
  expect_line "$out" 2023-01-22 101 正月初一 一月 初一 "癸卯 癸丑   " 兔年 2023 癸卯兔 水瓶座 ""
  expect_line "$out" 2030-02-03 101 正月初一 一月 初一 "庚戌 丁丑   " 狗年 2030 庚戌狗 水瓶座 ""
  # The month's pair changes on the day of its 节 (2027: 小寒 5 January, 立春
  # 4 February), the year's on 正月初一 (6 February 2027).
  expect_line "$out" 2027-01-04 1127 冬月廿七 冬月 廿七 "丙午 庚子   " 马年 2026 丙午马 摩羯座 ""
  expect_line "$out" 2027-01-05 1128 冬月廿八 冬月 廿八 "丙午 辛丑   " 马年 2026 丙午马 摩羯座 小寒
  expect_line "$out" 2027-02-04 1228 腊月廿八 腊月 廿八 "丙午 壬寅   " 马年 2026 丙午马 水瓶座 立春
  expect_line "$out" 2027-02-06 101 正月初一 一月 初一 "丁未 壬寅   " 羊年 2027 丁未羊 水瓶座 ""
  # Over the whole range: the year's pair and animal are the zodiac year's, and
  # the month's pair changes exactly on the days of the twelve 节 (bytes, not
  # characters, whatever the awk).
  bad=$(LC_ALL=C awk -F'\t' '
    substr($6, 1, 6) != substr($9, 1, 6) || $7 != substr($9, 7, 3) "年" { print "year " $1; exit }
    { m = substr($6, 8, 6); jie = $11 ~ /^(小寒|立春|惊蛰|清明|立夏|芒种|小暑|立秋|白露|寒露|立冬|大雪)$/ }
    NR > 1 && ((m != pm) != jie) { print "month " $1; exit }
    { pm = m }' "$out")
  [[ -z $bad ]] || fail "the cyclic $bad does not follow the lunar year and the 节"
  # Solar terms: either side of a year boundary, and 雨水 on 春节 2015.
  expect_line "$out" 2021-12-21 1118 冬月十八 冬月 十八 "辛丑 庚子   " 牛年 2021 辛丑牛 射手座 冬至
  expect_line "$out" 2022-01-05 1203 腊月初三 腊月 初三 "辛丑 辛丑   " 牛年 2021 辛丑牛 摩羯座 小寒
  expect_line "$out" 2015-02-19 101 正月初一 一月 初一 "乙未 戊寅   " 羊年 2015 乙未羊 双鱼座 雨水
  ;;
bad-input)
  # An invalid date is a bad option: the date error on stderr, nothing on stdout, status 2.
  run 2004-02-30
  [[ $rc -eq 2 ]] || fail "invalid FROM: exit status $rc, expected 2"
  [[ -s $out ]] && fail "invalid FROM: output on stdout"
  grep -qF "'2004-02-30' 不是一个有效的日期" "$err" ||
    fail "invalid FROM: message was '$(cat "$err")'"

  run 2004-01-01 2004-13-01
  [[ $rc -eq 2 ]] || fail "invalid TO: exit status $rc, expected 2"
  grep -qF "'2004-13-01' 不是一个有效的日期" "$err" ||
    fail "invalid TO: message was '$(cat "$err")'"

  # FROM after TO: a bad option too.
  run 2004-02-02 2004-02-01
  [[ $rc -eq 2 ]] || fail "reversed range: exit status $rc, expected 2"
  [[ -s $out ]] && fail "reversed range: output on stdout"
  [[ -s $err ]] || fail "reversed range: no message"

  # Missing or extra arguments are bad options.
  run
  [[ $rc -eq 2 ]] || fail "no date: exit status $rc, expected 2"
  run 2004-01-01 2004-01-02 2004-01-03
  [[ $rc -eq 2 ]] || fail "three dates: exit status $rc, expected 2"

  # Dates beyond the calendar: code 0 and empty fields; one date without TO.
  "$cli" calendar 1900-12-31 1901-01-01 >"$out" 2>&1 || fail "edge range failed"
  expect_line "$out" 1900-12-31 0 "" "" "" "" "" "" "" "" ""
  [[ $(wc -l <"$out") -eq 2 ]] || fail "edge range: expected 2 lines"
  "$cli" calendar 2051-1-1 >"$out" 2>&1 || fail "single date failed"
  expect_line "$out" 2051-01-01 0 "" "" "" "" "" "" "" "" ""
  [[ $(wc -l <"$out") -eq 1 ]] || fail "single date: expected 1 line"
  ;;
*) unknown_mode ;;
esac

finish "calendar $mode: all checks passed"
