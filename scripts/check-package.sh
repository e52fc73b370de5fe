#!/usr/bin/env bash
# Builds the Debian package and checks it as a user would meet it: installs it
# with apt (so its dependencies come from the Debian mirrors), checks that it
# ships the program, the desktop entry, the AppStream metainfo, the icons, the
# translations, the manual page and the changelog, runs the desktop's
# validators on the installed files, and removes it again.
# Needs root or sudo. Usage: scripts/check-package.sh [build-folder]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
sudo=()
[[ $(id -u) -eq 0 ]] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive

fail() {
    echo "package: FAILED: $*" >&2
    exit 1
}

make --no-print-directory package BUILD="$build" >/dev/null
deb=$(ls -t "$build"/package/quillery_*.deb | head -n 1)
echo "package: $deb"
dpkg-deb --field "$deb" Depends | tr ',' '\n' | sed 's/^ */package:   depends on /'

if dpkg-query -W -f='${Status}' quillery 2>/dev/null | grep -q 'install ok installed'; then
    fail "a quillery package is installed already; remove it first (dpkg -r quillery)"
fi
removed=false
remove() {
    [[ $removed == true ]] && return
    removed=true
    "${sudo[@]}" dpkg -r quillery >/dev/null
}
trap remove EXIT

"${sudo[@]}" apt-get install -y -qq --no-install-recommends "./$deb" >/dev/null \
    || fail "apt-get could not install $deb"

files=$(dpkg -L quillery)
for wanted in /usr/bin/quillery \
    /usr/share/applications/app.quillery.Quillery.desktop \
    /usr/share/metainfo/app.quillery.Quillery.metainfo.xml \
    /usr/share/icons/hicolor/scalable/apps/app.quillery.Quillery.svg \
    /usr/share/icons/hicolor/48x48/apps/app.quillery.Quillery.png \
    /usr/share/icons/hicolor/256x256/apps/app.quillery.Quillery.png \
    /usr/share/quillery/screenshots/book.png \
    /usr/share/doc/quillery/copyright \
    /usr/share/doc/quillery/changelog.Debian.gz \
    /usr/share/man/man1/quillery.1.gz \
    /usr/share/quillery/translations/quillery_de.qm \
    /usr/share/quillery/translations/quillery_en.qm \
    /usr/lib/quillery/quillery-pg.so \
    /usr/lib/quillery/quillery-geonames.so \
    /usr/lib/quillery/quillery-pdf.so; do
    grep -qxF "$wanted" <<<"$files" || fail "the package does not ship $wanted"
    [[ -s $wanted ]] || fail "$wanted is installed empty"
done

# Every library the program and its modules need is found once the package
# is installed.
for binary in /usr/bin/quillery /usr/lib/quillery/*.so; do
    if ldd "$binary" | grep -q 'not found'; then
        ldd "$binary" | grep 'not found' >&2
        fail "the dependencies do not bring every library of $binary"
    fi
done

# The installed program finds its modules where the package put them: with a
# mirror service defined (a server that is not there), the background process
# loads the mirror's module from /usr/lib/quillery.
scratch=$(mktemp -d)
printf '[quillery]\nhost=127.0.0.1\nport=1\ndbname=none\nuser=none\n' >"$scratch/pg_service.conf"
mkdir -m 0700 "$scratch/runtime"
env -u DISPLAY -u WAYLAND_DISPLAY -u DBUS_SESSION_BUS_ADDRESS HOME="$scratch" XDG_RUNTIME_DIR="$scratch/runtime" \
    XDG_CONFIG_HOME="$scratch/config" XDG_DATA_HOME="$scratch/data" XDG_STATE_HOME="$scratch/state" \
    XDG_CACHE_HOME="$scratch/cache" PGSERVICEFILE="$scratch/pg_service.conf" QT_QPA_PLATFORM=offscreen \
    /usr/bin/quillery --background >"$scratch/log" 2>&1 &
background=$!
found=false
for _ in $(seq 50); do
    if grep -q ' /usr/lib/quillery/quillery-pg.so$' "/proc/$background/maps" 2>/dev/null; then
        found=true
        break
    fi
    sleep 0.2
done
kill -TERM "$background" 2>/dev/null || true
wait "$background" 2>/dev/null || true
[[ $found == true ]] || { cat "$scratch/log" >&2; rm -rf "$scratch"; fail "the installed program did not load its mirror module"; }
rm -rf "$scratch"

# The manual page reads without a warning, and the program answers --help
# and --version without a display.
man_warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l /usr/share/man/man1/quillery.1.gz 2>&1 >/dev/null) \
    || fail "man cannot read the manual page"
[[ -z $man_warnings ]] || fail "the manual page has warnings: $man_warnings"
env -u DISPLAY -u WAYLAND_DISPLAY /usr/bin/quillery --version | grep -q '^quillery ' \
    || fail "quillery --version does not answer"
env -u DISPLAY -u WAYLAND_DISPLAY LANG=de_DE.UTF-8 LANGUAGE=de /usr/bin/quillery --help | grep -q 'Optionen' \
    || fail "quillery --help does not answer in German from the installed translations"

desktop-file-validate /usr/share/applications/app.quillery.Quillery.desktop \
    || fail "desktop-file-validate rejects the installed desktop entry"
appstreamcli validate --no-net --no-color /usr/share/metainfo/app.quillery.Quillery.metainfo.xml \
    || fail "appstreamcli rejects the installed metainfo"

remove
if dpkg-query -W -f='${Status}' quillery 2>/dev/null | grep -q 'install ok installed'; then
    fail "dpkg -r left quillery installed"
fi
[[ ! -e /usr/bin/quillery ]] || fail "dpkg -r left /usr/bin/quillery behind"
echo "package: passed"
