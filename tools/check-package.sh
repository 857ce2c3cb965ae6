#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the program installs like a desktop program, without installing
# anything into the system: the desktop entry and the AppStream metadata
# validate, `cmake --install` into a temporary prefix gives a working
# tessaly-cli and the program with its module (the click sound's player) beside
# it, neither linking a web engine, and the Debian package passes lintian and,
# unpacked into a temporary root, runs.
#   tools/check-package.sh BUILD_DIR
set -euo pipefail
build=${1:?usage: check-package.sh BUILD_DIR}
root=$(cd "$(dirname "$0")/.." && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# check_cli BIN_DIR WHAT: the tessaly-cli in BIN_DIR finds its data and runs.
check_cli() {
  local cli=$1/tessaly-cli what=$2 out
  out=$("$cli" strokes 张)
  [ "$out" = "$(printf '张\t11')" ] || { echo "$what tessaly-cli strokes gave: $out"; exit 1; }
  if "$cli" --help | grep -q '^  report'; then
    "$cli" report --readings all > "$scratch/report.txt"
    [ -s "$scratch/report.txt" ] || { echo "$what tessaly-cli report printed nothing"; exit 1; }
  fi
}

echo "-- desktop entry and AppStream metadata"
desktop-file-validate "$root/data/desktop/invalid.tessaly.Tessaly.desktop"
appstreamcli validate --no-net "$root/data/desktop/invalid.tessaly.Tessaly.metainfo.xml"

echo "-- install into a temporary prefix"
prefix="$scratch/prefix"
cmake --install "$build" --prefix "$prefix" > "$scratch/install.log"
for f in bin/tessaly bin/tessaly-cli lib/tessaly/sound.so share/tessaly/kvdata.dat \
         share/applications/invalid.tessaly.Tessaly.desktop share/metainfo/invalid.tessaly.Tessaly.metainfo.xml \
         share/icons/hicolor/scalable/apps/tessaly.svg share/icons/hicolor/48x48/apps/tessaly.png \
         share/man/man1/tessaly.1.gz share/man/man1/tessaly-cli.1.gz \
         share/doc/tessaly/copyright share/doc/tessaly/changelog.gz; do
  [ -e "$prefix/$f" ] || { echo "missing after install: $f"; exit 1; }
done
# The page is shown by Qt's own text view: nothing links a web engine. The
# module's own libraries are all there.
if [ -e "$prefix/lib/tessaly/viewer.so" ]; then echo "a viewer module is installed"; exit 1; fi
for f in "$prefix/bin/tessaly" "$prefix"/lib/tessaly/*.so; do
  if readelf -d "$f" | grep -i 'NEEDED.*webengine'; then
    echo "installed $(basename "$f") links QtWebEngine"; exit 1
  fi
done
for module in "$prefix"/lib/tessaly/*.so; do
  if ldd "$module" | grep 'not found'; then echo "$module: libraries missing"; exit 1; fi
done
# Moved elsewhere, the installed programs still find their data.
mv "$prefix" "$scratch/moved"
check_cli "$scratch/moved/bin" installed

echo "-- Debian package"
(cd "$build" && cpack -G DEB > "$scratch/cpack.log") || { cat "$scratch/cpack.log"; exit 1; }
deb=$(ls -t "$build"/tessaly_*.deb | head -1)
dpkg-deb --field "$deb" Depends
# Errors and warnings fail; lintian's informational tags are only shown.
lintian --fail-on error,warning --display-info "$deb"
outside=$(dpkg-deb --contents "$deb" | awk '{print $6}' | grep -v -e '^\./$' -e '^\./usr/' || true)
[ -z "$outside" ] || { echo "package files outside /usr: $outside"; exit 1; }
unpacked="$scratch/unpacked"
dpkg-deb --extract "$deb" "$unpacked"
for bin in "$unpacked"/usr/bin/*; do
  if ldd "$bin" | grep 'not found'; then echo "packaged $(basename "$bin") misses libraries"; exit 1; fi
done
for f in usr/bin/tessaly usr/lib/tessaly/sound.so; do
  [ -f "$unpacked/$f" ] || { echo "missing from the package: /$f"; exit 1; }
done
for module in "$unpacked"/usr/lib/tessaly/*.so; do
  if ldd "$module" | grep 'not found'; then echo "packaged $(basename "$module") misses libraries"; exit 1; fi
done
if readelf -d "$unpacked/usr/bin/tessaly" | grep -i 'NEEDED.*webengine'; then
  echo "packaged tessaly links QtWebEngine"; exit 1
fi
# The module's libraries count too; the web engine is not among them.
depends=$(dpkg-deb --field "$deb" Depends)
for dep in libqt6multimedia6 libqt6printsupport6; do
  grep -Eq "(^|, )$dep( |,|\$)" <<< "$depends" || { echo "no dependency on $dep"; exit 1; }
done
if grep -qi webengine <<< "$depends"; then echo "the package depends on a web engine"; exit 1; fi
check_cli "$unpacked/usr/bin" packaged
echo "package checks passed: $(basename "$deb")"
