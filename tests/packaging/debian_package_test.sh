#!/usr/bin/env bash
# The Debian package of a built tree holds the three programs, the desktop entries, the icons, the MIME
# package, the manual page and the sample school, and depends on the libraries the programs link.
#   debian_package_test.sh BUILD_DIR
set -uo pipefail
build=$1
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Uncompressed: the test reads the package's lists, nobody installs this one.
if ! cpack --config "$build/CPackConfig.cmake" -G DEB -B "$tmp" \
    -D CPACK_DEBIAN_COMPRESSION_TYPE=none >"$tmp/cpack.log" 2>&1; then
    cat "$tmp/cpack.log"
    echo "FAIL: cpack did not build the package"
    exit 1
fi
deb=$(ls "$tmp"/scorvane_*.deb 2>/dev/null | head -1)
[[ -n "$deb" ]] || { echo "FAIL: no scorvane_*.deb"; exit 1; }
dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' >"$tmp/files"

for path in /usr/bin/scorvane /usr/bin/velmora /usr/bin/scorvane-cli /usr/libexec/scorvane/scorvane-cli-draw \
    /usr/share/applications/scorvane.desktop /usr/share/applications/velmora.desktop \
    /usr/share/mime/packages/scorvane.xml /usr/share/man/man1/scorvane-cli.1.gz \
    /usr/share/scorvane/examples/SchoolInfo.ini /usr/share/scorvane/examples/成绩通知单.rvx \
    "/usr/share/scorvane/examples/表格数据/星河实验中学/高一/(1)班/期中考试.skv" \
    /usr/share/scorvane/examples/表格模版/考试成绩.templet; do
    grep -qxF "$path" "$tmp/files" || fail "the package lacks $path"
done
for size in 16 22 24 32 48 64 128 256; do
    for program in scorvane velmora; do
        grep -qxF "/usr/share/icons/hicolor/${size}x${size}/apps/$program.png" "$tmp/files" ||
            fail "the package lacks the ${size}px icon of $program"
    done
done
# Nothing of the build (tests, benchmarks, the icon painter) goes into the package.
extra=$(grep '^/usr/bin/.' "$tmp/files" | grep -vxE '/usr/bin/(scorvane|velmora|scorvane-cli)')
[[ -z "$extra" ]] || fail "the package holds other programs: $extra"

# Dependencies as dpkg-shlibdeps computed them from the programs.
depends=$(dpkg-deb -f "$deb" Depends)
for library in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 libqt6network6 \
    libxlsxwriter; do
    [[ "$depends" == *"$library"* ]] || fail "Depends lacks $library: $depends"
done
[[ "$depends" == *"fonts-noto-cjk"* ]] || fail "Depends lacks a Chinese font: $depends"
# .xls workbooks are read by the programs' own code: no library of another reader comes along.
[[ "$depends" != *"libfreexl"* ]] || fail "Depends names libfreexl: $depends"
[[ "$(dpkg-deb -f "$deb" Package)" == scorvane ]] || fail "the package is not named scorvane"

# The manual page is a compressed page that names its program.
dpkg-deb -x "$deb" "$tmp/root"
zcat "$tmp/root/usr/share/man/man1/scorvane-cli.1.gz" | grep -q '^\.TH SCORVANE-CLI 1' ||
    fail "the manual page is not a section 1 page"
file "$tmp/root/usr/share/icons/hicolor/48x48/apps/velmora.png" | grep -q 'PNG image data, 48 x 48' ||
    fail "the 48px icon is no 48 x 48 PNG"

if ((failures > 0)); then
    echo "$failures failed"
    exit 1
fi
echo "Debian package: all checks passed"
