#!/usr/bin/env bash
# Builds the Debian package of both programs from a Release build:
#
#   scripts/package.sh [BUILD_DIR [cmake options...]]    (default build/release)
#
# Installs what is needed (unless VELMAR_DEPS_INSTALLED=1), builds, checks
# what the package installs for the desktop (the desktop entry, the AppStream
# metainfo, the manual pages), and makes the .deb with cpack; its Depends are
# what dpkg-shlibdeps finds the programs linked with. The last lines name the
# .deb and show its size, its Depends and the files it installs.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
[ "${VELMAR_DEPS_INSTALLED:-0}" = 1 ] || "$root/scripts/install-deps.sh"
build=$(realpath -m "${1:-$root/build/release}")
shift || true
"$root/scripts/build.sh" "$build" -DCMAKE_BUILD_TYPE=Release "$@"

stage=$build/package-check
rm -rf "$stage"
DESTDIR=$stage cmake --install "$build" --prefix /usr >/dev/null
desktop-file-validate "$stage/usr/share/applications/velmar-restorer.desktop"
appstreamcli validate --no-net --explain "$stage/usr/share/metainfo/org.velmar.Restorer.metainfo.xml"
for page in "$stage"/usr/share/man/man1/*.1.gz; do
  # man prints what troff warns of; a page must render without a warning.
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)
  if [ -n "$warnings" ]; then
    echo "$page: $warnings" >&2
    exit 1
  fi
done

rm -f "$build"/*.deb
(cd "$build" && cpack -G DEB >"$build/cpack.log" 2>&1) || { cat "$build/cpack.log"; exit 1; }
deb=$(ls "$build"/*.deb)
echo "$deb: $(stat -c %s "$deb") bytes"
dpkg-deb --field "$deb" Depends
dpkg-deb --contents "$deb" | awk '{ print $6 }'
