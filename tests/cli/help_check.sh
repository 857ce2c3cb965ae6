#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Help of tessaly-cli, made by the commands' parsers, and the documents that
# repeat it.
#   help_check.sh CLI MANPAGE README
source "$(dirname "$0")/harness.sh"
cli=$1
man=$2
readme=$3

help=$("$cli" --help) || fail "--help: exit $?"
for synopsis in "strokes TEXT" "calendar FROM [TO]" "report [OPTIONS]" "names [OPTIONS]" "almanac FROM [TO]" "the almanac (黄历)"; do
  grep -qF -- "$synopsis" <<<"$help" || fail "--help does not list '$synopsis'"
done
# The COMMAND argument names every command.
[[ $(grep -E '^  COMMAND ' <<<"$help") == *"strokes, calendar, report, names, almanac, profiles or history" ]] ||
  fail "--help: $(grep -E '^  COMMAND ' <<<"$help")"
# The calendar's help counts the fields a line has.
fields=$("$cli" calendar 2024-02-04 | awk -F'\t' '{print NF}')
[[ $fields -eq 11 ]] && grep -q "^eleven fields" <<<"$("$cli" calendar --help)" ||
  fail "calendar: $fields fields, help: $("$cli" calendar --help | sed -n 3p)"
for command in strokes calendar report almanac; do
  help=$("$cli" $command --help) || fail "$command --help: exit $?"
  [[ $(head -n 1 <<<"$help") == "Usage: tessaly-cli $command [options]"* ]] ||
    fail "$command --help: $(head -n 1 <<<"$help")"
  "$cli" $command --no-such-option >/dev/null 2>&1
  [[ $? -eq 2 ]] || fail "$command --no-such-option: not exit status 2"
done

# The report options the parser knows, as "--name TEXT": the manual page and
# the README describe each.
options=$("$cli" report --help | sed -nE 's/^  (--[a-z-]+) <([A-Z-]+)>.*/\1 \2/p')
[[ $(wc -l <<<"$options") -eq 20 ]] || fail "report --help lists $(wc -l <<<"$options") options"
while read -r option value; do
  grep -qF -- ".BI ${option//-/\\-} \" $value\"" "$man" || fail "$man lacks $option $value"
  grep -qF -- "\`$option $value\`" "$readme" || fail "$readme lacks $option $value"
done <<<"$options"

finish
