#!/usr/bin/env bash
# The Debian package as an administrator uses it: built with `make deb`, checked with
# lintian, installed with apt-get on a machine that has Debian's touch-screen tools
# (libts-bin, with a /usr/bin/ts_print of its own), both modes started by the launcher
# under Xvfb as from a terminal, then purged, leaving only what the administrator put
# into the template folder. Whatever happens, the machine is left as it was found.
#
#   debian_package_test.sh SOURCE_FOLDER WORK_FOLDER
set -euo pipefail
source_folder=$1
work=$2
skip=77

[ "$(id -u)" -eq 0 ] || { echo "installing the package needs root"; exit $skip; }
if dpkg-query -W -f='${Status}' print-station 2>/dev/null | grep -q ' installed' ||
   [ -e /etc/print-station ]; then
    echo "print-station is installed on this machine and stays as it is"
    exit $skip
fi
# The build is a make of its own, not a part of the make that runs the tests.
unset MAKEFLAGS MFLAGS MAKELEVEL

fail() { echo "FAIL: $*" >&2; exit 1; }

mkdir -p "$work"
rm -f "$work"/print-station_*.deb
make -C "$source_folder" deb DEB_BUILD="$work/build" DEB_OUT="$work"
deb=$(echo "$work"/print-station_*_"$(dpkg --print-architecture)".deb)
version=$(dpkg-deb -f "$deb" Version)

# Informational tags are shown and allowed; an error or a warning fails.
lintian --fail-on error,warning --display-info "$deb" || fail "lintian found errors or warnings"

admin_file=/etc/print-station/ts_print/ts_print.ini
home=$(mktemp -d)
dpkg-query -W -f='${Package}\n' | sort >"$home/before"
leave_as_found() {
    apt-get purge -y -qq print-station >/dev/null 2>&1 || true
    dpkg-query -W -f='${Package}\n' | sort | comm -13 "$home/before" - >"$home/brought"
    [ ! -s "$home/brought" ] || xargs apt-get purge -y -qq <"$home/brought" >/dev/null || true
    rm -f "$admin_file"
    rmdir -p "$(dirname "$admin_file")" 2>/dev/null || true
    rm -rf "$home"
}
trap leave_as_found EXIT

export DEBIAN_FRONTEND=noninteractive
apt-get install -y -qq --no-install-recommends libts-bin
apt-get install -y -qq --no-install-recommends "$deb"
[ "$(dpkg -S /usr/bin/ts_print)" = "libts-bin: /usr/bin/ts_print" ] || fail "/usr/bin/ts_print changed hands"

# The first start of each mode, as from a terminal: the template folder is there and
# empty, so the launcher writes the first settings file.
for mode in kv_print ts_print; do
    case $mode in
        kv_print) title="kv_print - KORVID-PDF-Ausgabeprogramm Version $version (" ;;
        ts_print) title="ts_print - Tessaline-PDF-Ausgabeprogramm Version $version (" ;;
    esac
    HOME="$home" XDG_DATA_HOME= xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
        /usr/bin/print-station "$1" >"$HOME/station.out" 2>&1 &
        for _ in $(seq 120); do
            xwininfo -root -tree | grep -F -q "\"$2" && { kill $!; exit 0; }
            sleep 0.5
        done
        kill $!; exit 1' window "$mode" "$title" || fail "no window \"$title...\": $(cat "$home/station.out")"
    grep -q -x 'Printer_PDF_Prog=/usr/bin/pdf_print' "$home/.local/share/$mode/$mode.ini" ||
        fail "the launcher wrote no first settings file for $mode"
done

/usr/bin/pdf_print --help >/dev/null || fail "pdf_print --help"
dpkg-deb -f "$deb" Depends | grep -q libqpdf || fail "the package does not depend on libqpdf"
LANG=C.UTF-8 LANGUAGE=de /usr/bin/pdf_print --help | grep -q '^Aufruf: pdf_print' ||
    fail "pdf_print has no German messages"
for page in print-station print-station-kv_print print-station-ts_print pdf_print; do
    [ "$(dpkg -S "$(man -w "$page")")" = "print-station: $(man -w "$page")" ] || fail "no manual page $page"
done
desktop-file-validate /usr/share/applications/kv_print.desktop /usr/share/applications/ts_print.desktop
appstreamcli validate --no-net /usr/share/metainfo/org.example.print_station.metainfo.xml

# An upgrade and the removal keep the administrator's template.
echo "[MAIN]" >"$admin_file"
dpkg -i "$deb" >/dev/null
dpkg -L print-station >"$home/files"
apt-get purge -y -qq print-station
[ "$(cat "$admin_file")" = "[MAIN]" ] || fail "the template folder lost $admin_file"
while read -r path; do
    [ -e "$path" ] || continue
    [ -d "$path" ] && { [ -n "$(ls -A "$path")" ] || dpkg -S "$path" >/dev/null 2>&1; } && continue
    fail "left behind: $path"
done <"$home/files"
echo "package $deb: built, installed, started and removed"
