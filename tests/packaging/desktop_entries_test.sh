#!/usr/bin/env bash
# The desktop entries pass desktop-file-validate and name the file types the MIME package defines; the
# MIME database built from that package recognises tables and templates by name and by content.
#   desktop_entries_test.sh SOURCE_DIR
set -uo pipefail
src=$1
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
for tool in desktop-file-validate update-mime-database xdg-mime gio; do
    command -v "$tool" >/dev/null || fail "$tool is not installed (scripts/setup-deps installs it)"
done
((failures == 0)) || exit 1

# scorvane opens every file it is given in one frame (%F); velmora has one window for one template, so the
# desktop starts one velmora per file (%f).
for entry in "scorvane %F" "velmora %f"; do
    exec_line="Exec=$entry"
    entry=${entry% *}
    file="$src/packaging/$entry.desktop"
    desktop-file-validate "$file" || fail "$entry.desktop does not validate"
    grep -qxF "$exec_line" "$file" || fail "$entry.desktop: Exec is not '$exec_line'"
    grep -q '^Categories=.*Education;' "$file" || fail "$entry.desktop: not in Education"
    grep -q '^Categories=.*Office;' "$file" || fail "$entry.desktop: not in Office"
    grep -qx "Icon=$entry" "$file" || fail "$entry.desktop: icon is not the program's"
    type=$(sed -n 's/^MimeType=\(.*\);$/\1/p' "$file")
    [[ -n "$type" ]] || fail "$entry.desktop: no MimeType"
    grep -q "<mime-type type=\"$type\">" "$src/packaging/scorvane-mime.xml" ||
        fail "$entry.desktop: $type is not defined by the MIME package"
done
grep -qx 'Name=成绩表' "$src/packaging/scorvane.desktop" || fail "scorvane.desktop: name is not 成绩表"
grep -qx 'Name=报表设计' "$src/packaging/velmora.desktop" || fail "velmora.desktop: name is not 报表设计"

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp/data/mime/packages" "$tmp/files"
cp "$src/packaging/scorvane-mime.xml" "$tmp/data/mime/packages/scorvane.xml"
XDG_DATA_HOME="$tmp/data" update-mime-database "$tmp/data/mime" || fail "update-mime-database refused the MIME package"

files=$tmp/files
cp "$src/examples/表格数据/星河实验中学/高一/(1)班/期中考试.skv" "$files/期中考试.skv"
cp "$src/examples/表格数据/星河实验中学/高一/(1)班/期中考试.skv" "$files/table-content.dat"
cp "$src/examples/成绩通知单.rvx" "$files/成绩通知单.rvx"
cp "$src/examples/成绩通知单.rvx" "$files/template-content.dat"
printf "KVL'S Scorvane数据文件\r\nT\r\n1\r\n1\r\n\r\n\r\n###.##\r\n  \r\n" >"$files/utf8-content.dat"
printf 'notes\r\n' >"$files/name-only.skv"
printf 'notes\r\n' >"$files/name-only.rvx"
printf 'KVL'"'"'S notes\r\nhello\r\n' >"$files/other.dat"

expect() {
    local file=$1 want=$2 got
    # xdg-mime asks GLib's content types, which read the shared-mime-info database on XDG_DATA_DIRS.
    got=$(XDG_CURRENT_DESKTOP=GNOME XDG_DATA_HOME="$tmp/data" XDG_DATA_DIRS=/usr/share \
        xdg-mime query filetype "$files/$file")
    [[ "$got" == "$want" ]] || fail "$file is '$got', expected '$want'"
}
expect 期中考试.skv application/x-scorvane-table
expect name-only.skv application/x-scorvane-table
expect table-content.dat application/x-scorvane-table
expect utf8-content.dat application/x-scorvane-table
expect 成绩通知单.rvx application/x-velmora-template
expect name-only.rvx application/x-velmora-template
expect template-content.dat application/x-velmora-template
expect other.dat text/plain

if ((failures > 0)); then
    echo "$failures failed"
    exit 1
fi
echo "desktop entries and file types: all checks passed"
