#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs a build into a temporary folder (DESTDIR) and checks that an installation holds
# everything a desktop program needs: both programs, the template folder, the menu entry and
# the AppStream file (both validated), every icon size, the man page, the licence and the
# backup's systemd user units, the translation of Qt's dialogs inside the program; that the
# installed copy keeps its data in the user's home, and that the backup service saves that data.
# Usage: scripts/check-install.sh [BUILDDIR]   (default build/test, as scripts/test.sh makes)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh
velmora_install_install_packages

build=${1:-build/test}
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
prefix=/usr
cmake --build "$build" --target velmora velmora-tool velmora-report velmora-install-files >/dev/null
DESTDIR="$stage" cmake --install "$build" --prefix "$prefix" >/dev/null
root="$stage$prefix"

failed=0
fail() { echo "check-install: $*" >&2; failed=1; }

expected=(
    bin/velmora
    bin/velmora-tool
    libexec/velmora/velmora-report
    share/applications/ro.kestrova.Velmora.desktop
    share/metainfo/ro.kestrova.Velmora.metainfo.xml
    share/icons/hicolor/scalable/apps/velmora.svg
    share/man/man1/velmora.1.gz
    share/man/man1/velmora-tool.1.gz
    share/doc/velmora/copyright
    share/doc/velmora/changelog.gz
    lib/systemd/user/velmora-backup.service
    lib/systemd/user/velmora-backup.timer
)
for size in 16 32 48 64 128 256; do
    expected+=("share/icons/hicolor/${size}x${size}/apps/velmora.png")
done
[ -f src/reports/Foaie.rtf ] && expected+=(share/velmora/Foaie.rtf)
for file in "${expected[@]}"; do
    [ -f "$root/$file" ] || fail "missing $prefix/$file"
done
[ -d "$root/share/velmora" ] || fail "missing $prefix/share/velmora/"
[ -x "$root/bin/velmora" ] || fail "$prefix/bin/velmora is not executable"

for size in 16 32 48 64 128 256; do
    png="$root/share/icons/hicolor/${size}x${size}/apps/velmora.png"
    [ -f "$png" ] || continue
    # PNG header: width and height as big-endian words at bytes 16 and 20.
    dims=$(od -An -tu1 -j16 -N8 "$png" | awk '{print $3*256+$4 "x" $7*256+$8}')
    [ "$dims" = "${size}x${size}" ] || fail "icon $size is $dims"
done

desktop-file-validate "$root/share/applications/ro.kestrova.Velmora.desktop" ||
    fail "the desktop entry does not validate"
grep -qx 'Exec=velmora' "$root/share/applications/ro.kestrova.Velmora.desktop" ||
    fail "the desktop entry does not start velmora"
appstreamcli validate --no-net "$root/share/metainfo/ro.kestrova.Velmora.metainfo.xml" \
    >/dev/null || fail "the AppStream file does not validate"
for page in velmora velmora-tool; do
    gz="$root/share/man/man1/$page.1.gz"
    [ -f "$gz" ] || continue
    gzip -t "$gz" || fail "the man page $page is not gzipped"
    if command -v man >/dev/null; then
        warnings=$(man --warnings -l "$gz" 2>&1 >/dev/null)
        [ -z "$warnings" ] || fail "man page $page: $warnings"
    fi
done
service="$root/lib/systemd/user/velmora-backup.service"
grep -qx "ExecStart=$prefix/bin/velmora-tool backup --to %h/Velmora-salvari --keep 30" "$service" ||
    fail "the backup service runs something else"
if command -v systemd-analyze >/dev/null; then
    # The syntax only, in the system manager's terms (no user session here); the tool it names
    # is in the temporary folder, not yet in $prefix.
    out=$(systemd-analyze verify --man=no "$root/lib/systemd/user/velmora-backup.timer" \
        "$root/lib/systemd/user/velmora-backup.service" 2>&1 |
        grep -v "Command $prefix/bin/velmora-tool is not executable" || true)
    [ -z "$out" ] || fail "systemd units: $out"
fi

# The installed copy's data goes to the user's data folder, the one the backup service saves.
home=$(mktemp -d)
where=$(env -u XDG_DATA_HOME HOME="$home" ASAN_OPTIONS=detect_leaks=0 "$root/bin/velmora-tool" where)
[ "$where" = "$home/.local/share/Velmora v.1.01" ] ||
    fail "the installed program keeps its data in '$where'"

# The Romanian translation of Qt's own dialogs travels inside the program, as a resource named
# qtbase_ro.qm (names are stored in UTF-16), so no installed file can go missing.
grep -qaP 'q\x00t\x00b\x00a\x00s\x00e\x00_\x00r\x00o\x00\.\x00q\x00m' "$root/bin/velmora" ||
    fail "$prefix/bin/velmora does not carry the translation of Qt's dialogs"

# The tool starts without the GUI libraries; only its report helper loads them.
if objdump -p "$root/bin/velmora-tool" | grep -E 'NEEDED.*Qt6(Gui|Widgets|PrintSupport)'; then
    fail "$prefix/bin/velmora-tool links a GUI library"
fi

# Its report helper paints with QtGui alone: no widgets, no print dialogs.
helper="$root/libexec/velmora/velmora-report"
if objdump -p "$helper" | grep -E 'NEEDED.*Qt6(Widgets|PrintSupport)'; then
    fail "the report helper velmora-report links a widget library"
fi

# The installed tool finds its report painter in libexec.
year=$(date +%Y)
if ASAN_OPTIONS=detect_leaks=0 "$root/bin/velmora-tool" init "$home/program" >/dev/null &&
    ASAN_OPTIONS=detect_leaks=0 "$root/bin/velmora-tool" report "$home/program" \
        "$year-01-01" "$year-12-31" "$home/report.pdf" &&
    [ "$(head -c 4 "$home/report.pdf")" = "%PDF" ]; then
    :
else
    fail "the installed velmora-tool does not write a report"
fi

# The backup service, run as systemd runs it for a user whose data folder XDG_DATA_HOME moved,
# saves the tables of that folder.
exec_start=$(sed -n 's/^ExecStart=//p' "$service")
exec_start=${exec_start//%h/$home}
installed_bin="$prefix/bin/" staged_bin="$root/bin/"
exec_start=${exec_start/#"$installed_bin"/"$staged_bin"}
data_home="$home/elsewhere"
ASAN_OPTIONS=detect_leaks=0 "$root/bin/velmora-tool" init "$data_home/Velmora v.1.01" >/dev/null
# shellcheck disable=SC2086 # the unit's words, split as systemd splits these (no quotes left)
if env HOME="$home" XDG_DATA_HOME="$data_home" ASAN_OPTIONS=detect_leaks=0 \
    $exec_start >/dev/null; then
    archive=$(ls "$home"/Velmora-salvari/Velmora-*.vmr 2>/dev/null | tail -n 1)
    members=$(ASAN_OPTIONS=detect_leaks=0 "$root/bin/velmora-tool" verify "$archive" | cut -f1)
    for member in 'Data\FOI.DBF' 'Data\Sosiri.DBF'; do
        grep -qixF "$member" <<<"$members" || fail "the backup service did not save $member"
    done
else
    fail "the backup service fails with XDG_DATA_HOME set"
fi
rm -rf "$home"

[ "$failed" -eq 0 ] && echo "check-install: every installed file is there and valid"
exit "$failed"
