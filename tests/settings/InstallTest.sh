#!/bin/sh
# Installs the build into a scratch prefix and checks the layout that the programs rely on,
# then makes the Debian package and checks that it holds the same.
# Usage: InstallTest.sh BUILD_FOLDER WORK_FOLDER [SAMPLE]
set -eu
build=$1 work=$2 sample=${3:-}
prefix=$work/prefix
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

rm -rf "$work"
cmake --install "$build" --prefix "$prefix" >/dev/null
programs="$prefix/lib/brimlet"

# Every program sits in the program folder and is reached through a relative link in bin/.
[ -x "$programs/brimlet-cli" ] || fail "lib/brimlet/brimlet-cli is missing"
for program in brimlet-cli brimlet; do
    [ -e "$programs/$program" ] || continue
    link="$prefix/bin/$program"
    if [ ! -L "$link" ]; then
        fail "bin/$program is not a link"
    elif [ "$(readlink "$link")" != "../lib/brimlet/$program" ]; then
        fail "bin/$program leads to $(readlink "$link")"
    fi
done
"$prefix/bin/brimlet-cli" --help >/dev/null || fail "bin/brimlet-cli --help failed"

manual="$programs/BrimletCEUsersManual.pdf"
[ -s "$manual" ] && [ "$(head -c 4 "$manual")" = "%PDF" ] || fail "the manual is not beside the programs"
grep -q "^ISA00=" "$programs/Elements.ini" 2>/dev/null || fail "Elements.ini is not beside the programs"
grep -q "^\[ISA01\]" "$programs/Codes.ini" 2>/dev/null || fail "Codes.ini is not beside the programs"
# bin/ holds the two links and nothing else: a program or data file there would not be found.
[ "$(ls "$prefix/bin" | tr '\n' ' ')" = "brimlet brimlet-cli " ] || fail "bin/ holds $(ls "$prefix/bin")"

# The viewer starts through its link and keeps running until it is stopped.
if [ -e "$programs/brimlet" ] && [ -n "$sample" ]; then
    status=0
    env QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" \
        TMPDIR="$work" timeout 3 "$prefix/bin/brimlet" "$sample" >"$work/viewer.log" 2>&1 || status=$?
    [ "$status" -eq 124 ] || fail "the installed viewer ended with status $status: $(cat "$work/viewer.log")"
fi

desktop="$prefix/share/applications/brimlet.desktop"
if [ ! -f "$desktop" ]; then
    fail "share/applications/brimlet.desktop is missing"
elif command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$desktop" || fail "brimlet.desktop does not validate"
fi
grep -q "<svg" "$prefix/share/icons/hicolor/scalable/apps/brimlet.svg" 2>/dev/null \
    || fail "the icon is missing"

# The package: the same files below /usr, the links kept as links, library dependencies found.
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/package" >/dev/null
deb=$(ls "$work"/package/brimlet_*.deb)
contents=$(dpkg-deb -c "$deb")
for entry in "./usr/lib/brimlet/brimlet-cli" "./usr/bin/brimlet-cli -> ../lib/brimlet/brimlet-cli" \
    "./usr/lib/brimlet/brimlet" "./usr/bin/brimlet -> ../lib/brimlet/brimlet" \
    "./usr/lib/brimlet/Elements.ini" "./usr/lib/brimlet/Codes.ini" \
    "./usr/lib/brimlet/BrimletCEUsersManual.pdf" \
    "./usr/share/applications/brimlet.desktop"; do
    printf '%s\n' "$contents" | grep -qF "$entry" || fail "the package lacks $entry"
done
dpkg-deb -f "$deb" Depends | grep -q libqt6core6 || fail "the package does not depend on libqt6core6"
dpkg-deb -f "$deb" Depends | grep -q libqt6widgets6 || fail "the package does not depend on libqt6widgets6"
[ "$(dpkg-deb -f "$deb" Package)" = brimlet ] || fail "the package is not named brimlet"

rm -rf "$work"
[ "$failures" -eq 0 ] && echo "install checks passed"
exit "$failures"
