#!/usr/bin/env bash
# The Debian package as an administrator uses it: built with `make deb`, checked with
# lintian, installed with apt-get, the station started from the menu's launcher under
# Xvfb, then purged, leaving only what the administrator put into the template folder.
# Whatever happens, the machine is left as it was found.
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

lintian --fail-on error "$deb" || fail "lintian found errors"

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
apt-get install -y -qq --no-install-recommends "$deb"

# The first start from the menu: the template folder is there and empty, so the
# launcher writes the first settings file.
title="kv_print - KORVID-PDF-Ausgabeprogramm Version $version ("
HOME="$home" XDG_DATA_HOME= xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
    /usr/bin/print-station kv_print >"$HOME/station.out" 2>&1 &
    for _ in $(seq 120); do
        xwininfo -root -tree | grep -F -q "\"$1" && { kill $!; exit 0; }
        sleep 0.5
    done
    kill $!; exit 1' window "$title" || fail "no window \"$title...\": $(cat "$home/station.out")"
grep -q -x 'Printer_PDF_Prog=/usr/bin/pdf_print' "$home/.local/share/kv_print/kv_print.ini" ||
    fail "the launcher wrote no first settings file"

/usr/bin/pdf_print --help >/dev/null || fail "pdf_print --help"
dpkg-deb -f "$deb" Depends | grep -q libqpdf || fail "the package does not depend on libqpdf"
LANG=C.UTF-8 LANGUAGE=de /usr/bin/pdf_print --help | grep -q '^Aufruf: pdf_print' ||
    fail "pdf_print has no German messages"
for page in kv_print ts_print print-station pdf_print; do
    man -w "$page" >/dev/null || fail "no manual page $page"
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
