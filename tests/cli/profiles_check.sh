#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# tessaly-cli profiles and history: keys, import and export, reports from
# profiles and from the history, and failures that must leave the store as it was.
#   profiles_check.sh MODE CLI
source "$(dirname "$0")/harness.sh"
mode=$1
cli=$2
export XDG_DATA_HOME=$scratch/data
people=$scratch/people.json
cat >"$people" <<'JSON'
[{"name":"李雨桐","birthday":"2004-03-21","sex":"女","birth_hour":"午时","readings":["name","lifetime"]},
 {"name":"李雨桐","birthday":"2010-05-01","time":"08:30","longitude":116.4,"dst":true},
 {"name":"张小明","birthday":"2005-03-02","mother_age":30}]
JSON
"$cli" profiles import "$people" >/dev/null || fail "import: exit $?"
"$cli" profiles list >"$scratch/before"

case $mode in
keys)
  expect 0 profiles show 张小明
  grep -qx $'mother_age\t30' "$out" || fail "show 张小明: $(cat "$out")"
  expect 0 profiles show "李雨桐 2010-05-01"
  grep -qx $'time\t08:30' "$out" || fail "show by name and birthday: $(cat "$out")"
  expect 2 profiles show 李雨桐
  grep -qF "李雨桐 2004-03-21, 李雨桐 2010-05-01" "$err" || fail "ambiguous: $(cat "$err")"
  expect 2 profiles delete 王五
  expect 2 report --profile 李雨桐
  expect 0 profiles delete "李雨桐 2004-03-21"
  [[ $("$cli" profiles list | wc -l) -eq 2 ]] || fail "delete left $("$cli" profiles list | wc -l) profiles"
  ;;
transfer)
  # Export and import again: the same profiles, and the same JSON.
  "$cli" profiles export - >"$scratch/exported" || fail "export -: exit $?"
  "$cli" profiles export "$scratch/file.json" || fail "export FILE: exit $?"
  cmp -s "$scratch/exported" "$scratch/file.json" || fail "export FILE differs from export -"
  # A device named as the file is written into, not replaced (a scratch node,
  # where one can be made, stands for /dev/null).
  if mknod "$scratch/null" c 1 3 2>/dev/null; then
    "$cli" profiles export "$scratch/null" || fail "export onto a device: exit $?"
    [[ -c $scratch/null ]] || fail "export replaced a device with a file"
  fi
  rm -r "$XDG_DATA_HOME"
  "$cli" profiles import - <"$scratch/exported" >/dev/null || fail "import -: exit $?"
  "$cli" profiles list --format json >"$scratch/again"
  cmp -s "$scratch/exported" "$scratch/again" || fail "round trip: $(diff "$scratch/exported" "$scratch/again")"
  # One bad entry refuses the file, named, and nothing of it is imported.
  printf '[{"name":"王五"},{"name":"赵六","sex":"M"}]' >"$scratch/bad.json"
  expect 1 profiles import "$scratch/bad.json"
  grep -qF "第2项（赵六）" "$err" || fail "bad import: $(cat "$err")"
  "$cli" profiles list --format json | cmp -s - "$scratch/exported" || fail "bad import changed the store"
  ;;
reports)
  # The profile's inputs, overridden by the options given.
  direct=$("$cli" report --name 张小明 --birthday 2005-03-02 --mother-age 30 --hour 丑时)
  expect 0 report --profile 张小明 --hour 丑时 --save-history
  [[ $(cat "$out") == "$direct" ]] || fail "report --profile differs from the same options"
  expect 0 history list
  [[ $(cut -f1,3-6 "$out") == $'1\t张小明\t2005-03-02\t丑时\tname,lifetime,zodiac,star' ]] ||
    fail "history list: $(cat "$out")"
  expect 0 history show 1
  [[ $(cat "$out") == "$direct" ]] || fail "history show 1 differs from the report"
  expect 2 history show 2
  # The four-pillars inputs go with the profile.
  direct=$("$cli" report --name 李雨桐 --birthday 2010-05-01 --hour 子时 --time 08:30 --longitude 116.4 \
    --readings bazi)
  expect 0 report --profile "李雨桐 2010-05-01" --readings bazi
  [[ $(cat "$out") == "$direct" ]] || fail "report --profile with a time and longitude"
  ;;
failures)
  # A full disk (here a file-size limit) fails the import and keeps the old data.
  for i in $(seq 1 400); do printf '{"name":"人%s","birthday":"2001-01-01"},' "$i"; done |
    sed 's/^/[/; s/,$/]/' >"$scratch/many.json"
  (ulimit -f 64 && "$cli" profiles import "$scratch/many.json") >"$out" 2>"$err"
  [[ $? -eq 1 && $(cat "$err") == *磁盘已满* ]] || fail "full disk: $(cat "$err")"
  "$cli" profiles list | cmp -s - "$scratch/before" || fail "full disk changed the store"
  # A folder that cannot be written: a clear error, the old data as it was. (Root
  # writes anywhere: it runs the tool as nobody.)
  ro=$scratch/ro
  as=()
  mkdir "$ro"
  if [[ $(id -u) -eq 0 ]]; then
    chmod 755 "$scratch" && chown 65534 "$ro" && as=(setpriv --reuid=65534 --regid=65534 --clear-groups)
  fi
  XDG_DATA_HOME=$ro "${as[@]}" "$cli" profiles import "$people" >/dev/null || fail "import as $(id -un)"
  XDG_DATA_HOME=$ro "${as[@]}" "$cli" profiles list >"$scratch/ro-before"
  chmod 500 "$ro/tessaly"
  XDG_DATA_HOME=$ro "${as[@]}" "$cli" profiles import "$scratch/many.json" >"$out" 2>"$err"
  [[ $? -eq 1 && $(cat "$err") == *不可写* ]] || fail "read-only folder: $(cat "$err")"
  chmod 700 "$ro/tessaly"
  XDG_DATA_HOME=$ro "${as[@]}" "$cli" profiles list | cmp -s - "$scratch/ro-before" ||
    fail "read-only folder changed the store"
  # A damaged file is moved aside, said once, and an empty store started.
  head -c 3000 /dev/urandom >"$XDG_DATA_HOME/tessaly/profiles.sqlite"
  rm -f "$XDG_DATA_HOME/tessaly/profiles.sqlite-"*
  expect 0 profiles list
  [[ $(wc -l <"$err") -eq 1 && $(cat "$err") == *profiles.sqlite.damaged-* && ! -s $out ]] ||
    fail "damaged file: $(cat "$err")"
  # A symbolic link in place of the file is not followed.
  rm "$XDG_DATA_HOME/tessaly/profiles.sqlite"*
  ln -s "$scratch/elsewhere" "$XDG_DATA_HOME/tessaly/profiles.sqlite"
  expect 1 profiles list
  [[ ! -e $scratch/elsewhere ]] || fail "followed the link"
  ;;
*) unknown_mode ;;
esac
finish
