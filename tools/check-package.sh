#!/usr/bin/env bash
# Checks the program installs like a desktop program: the desktop entry and the
# AppStream metadata validate, `cmake --install` into a temporary prefix gives a
# working tessaly-cli, and the Debian package installs and runs.
#   tools/check-package.sh BUILD_DIR
set -euo pipefail
build=${1:?usage: check-package.sh BUILD_DIR}
root=$(cd "$(dirname "$0")/.." && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

echo "-- desktop entry and AppStream metadata"
desktop-file-validate "$root/data/desktop/invalid.tessaly.Tessaly.desktop"
appstreamcli validate --no-net "$root/data/desktop/invalid.tessaly.Tessaly.metainfo.xml"

echo "-- install into a temporary prefix"
prefix="$scratch/prefix"
cmake --install "$build" --prefix "$prefix" > "$scratch/install.log"
for f in bin/tessaly bin/tessaly-cli share/tessaly/kvdata.dat \
         share/applications/invalid.tessaly.Tessaly.desktop share/metainfo/invalid.tessaly.Tessaly.metainfo.xml \
         share/icons/hicolor/scalable/apps/tessaly.svg share/icons/hicolor/48x48/apps/tessaly.png \
         share/man/man1/tessaly.1 share/man/man1/tessaly-cli.1; do
  [ -e "$prefix/$f" ] || { echo "missing after install: $f"; exit 1; }
done
# Moved elsewhere, the installed programs still find their data.
mv "$prefix" "$scratch/moved"
out=$("$scratch/moved/bin/tessaly-cli" strokes 张)
[ "$out" = "$(printf '张\t11')" ] || { echo "installed tessaly-cli strokes gave: $out"; exit 1; }
if "$scratch/moved/bin/tessaly-cli" --help | grep -q '^  report'; then
  "$scratch/moved/bin/tessaly-cli" report --readings all > "$scratch/report.txt"
  [ -s "$scratch/report.txt" ] || { echo "installed tessaly-cli report printed nothing"; exit 1; }
fi

echo "-- Debian package"
(cd "$build" && cpack -G DEB > "$scratch/cpack.log") || { cat "$scratch/cpack.log"; exit 1; }
deb=$(ls -t "$build"/tessaly_*.deb | head -1)
dpkg-deb --info "$deb" | sed -n '/Depends/p'
sudo=""; [ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo dpkg -i "$deb" > "$scratch/dpkg.log" 2>&1 || DEBIAN_FRONTEND=noninteractive $sudo apt-get -f install -y -qq
out=$(/usr/bin/tessaly-cli strokes 张)
[ "$out" = "$(printf '张\t11')" ] || { echo "packaged tessaly-cli strokes gave: $out"; exit 1; }
if /usr/bin/tessaly-cli --help | grep -q '^  report'; then
  /usr/bin/tessaly-cli report --readings all > /dev/null
fi
echo "package checks passed: $(basename "$deb")"
