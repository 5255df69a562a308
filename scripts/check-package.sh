#!/usr/bin/env bash
# Checks the Debian package of a build folder without installing it: makes the package into a
# temporary folder, unpacks it into a temporary root, runs the unpacked program (version and a
# report of a new demo project, from another working directory), and validates the desktop
# entry, the AppStream data and the package (lintian errors). Usage: check-package.sh BUILD_DIR
set -euo pipefail
build=$(realpath "${1:?Aufruf: check-package.sh BUILD_DIR}")
tmp=$(mktemp -d /tmp/tovo-paket-XXXXXX)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FEHLER: $*" >&2; exit 1; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp/cpack" >"$tmp/cpack.log" 2>&1 ||
    { cat "$tmp/cpack.log" >&2; fail "cpack"; }
deb=$(ls "$tmp"/cpack/tovo-raumverw_*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
for need in libqt6core6 libqt6charts6 libqt6sql6-sqlite qt6-translations-l10n; do
    grep -q "$need" <<<"$depends" || fail "Depends ohne $need: $depends"
done

root="$tmp/root"
dpkg-deb -x "$deb" "$root"
prog="$root/usr/bin/tovo-raumverw"
cd "$tmp"
version=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prog" --version)
[[ "$version" == "tovo-raumverw "* ]] || fail "--version: $version"
# Without a project the report uses the demo project, made from the unpacked program's files.
HOME="$tmp/home" XDG_DATA_HOME="$tmp/home/.local/share" \
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM \
    "$prog" --bericht RepAusl --jahr "$(date +%Y)" --pdf "$tmp/auslastung.pdf"
pdftotext "$tmp/auslastung.pdf" - | grep -q "Auslastung je Raum" || fail "Diagramm fehlt im PDF"

desktop-file-validate "$root"/usr/share/applications/*.desktop
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml >"$tmp/appstream.log" ||
    { cat "$tmp/appstream.log" >&2; fail "appstreamcli"; }
lintian --fail-on error "$deb" >"$tmp/lintian.log" 2>&1 ||
    { cat "$tmp/lintian.log" >&2; fail "lintian"; }
echo "Paket in Ordnung: $(basename "$deb") ($version)"
