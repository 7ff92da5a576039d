#!/bin/sh
# Installs the build into a scratch prefix and checks the layout that the programs rely on,
# then makes the Debian package and checks that it holds the same.
# Usage: InstallTest.sh BUILD_FOLDER WORK_FOLDER [SAMPLE [SOURCE_FOLDER]]
set -eu
build=$1 work=$2 sample=${3:-} source=${4:-}
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

# The desktop entry opens X12 files only, and the validator has nothing to say about it.
desktop="$prefix/share/applications/brimlet.desktop"
if [ ! -f "$desktop" ]; then
    fail "share/applications/brimlet.desktop is missing"
else
    [ "$(grep '^MimeType=' "$desktop")" = "MimeType=application/edi-x12;" ] \
        || fail "brimlet.desktop has $(grep '^MimeType=' "$desktop")"
    if command -v desktop-file-validate >/dev/null; then
        said=$(desktop-file-validate "$desktop" 2>&1) || fail "brimlet.desktop does not validate"
        [ -z "$said" ] || fail "desktop-file-validate says: $said"
    fi
fi
grep -q "<svg" "$prefix/share/icons/hicolor/scalable/apps/brimlet.svg" 2>/dev/null \
    || fail "the icon is missing"

# The X12 file type that the entry names, as the Tools menu writes it for the user.
definition="$prefix/share/mime/packages/brimlet-x12.xml"
if [ ! -f "$definition" ]; then
    fail "share/mime/packages/brimlet-x12.xml is missing"
else
    grep -q 'type="application/edi-x12"' "$definition" || fail "brimlet-x12.xml defines no application/edi-x12"
    if command -v xmllint >/dev/null; then
        xmllint --noout "$definition" || fail "brimlet-x12.xml is not well-formed"
    fi
fi

# The documentation folder: the licence as the License window shows it, and a changelog that
# Debian's tools read, compressed the most and without a name or time stamp.
docs="$prefix/share/doc/brimlet"
if [ -n "$source" ]; then
    cmp -s "$docs/copyright" "$source/settings/License.txt" || fail "share/doc/brimlet/copyright is not the licence"
    cmp -s "$definition" "$source/settings/brimlet-x12.xml" || fail "brimlet-x12.xml is not the one the program writes"
fi
changelog="$docs/changelog.gz"
if ! gzip -t "$changelog" 2>/dev/null; then
    fail "share/doc/brimlet/changelog.gz is missing or broken"
else
    # Bytes 3 to 9 of the gzip header: flags (1: a file name), time stamp, 2 for the most.
    header=$(od -An -tu1 -j3 -N6 "$changelog" | tr -s ' ')
    [ "$header" = " 0 0 0 0 0 2" ] || fail "changelog.gz has the header bytes$header"
fi

# The package: the same files below /usr, the links kept as links, library dependencies found.
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/package" >/dev/null
deb=$(ls "$work"/package/brimlet_*.deb)
contents=$(dpkg-deb -c "$deb")
for entry in "./usr/lib/brimlet/brimlet-cli" "./usr/bin/brimlet-cli -> ../lib/brimlet/brimlet-cli" \
    "./usr/lib/brimlet/brimlet" "./usr/bin/brimlet -> ../lib/brimlet/brimlet" \
    "./usr/lib/brimlet/Elements.ini" "./usr/lib/brimlet/Codes.ini" \
    "./usr/lib/brimlet/BrimletCEUsersManual.pdf" \
    "./usr/share/applications/brimlet.desktop" "./usr/share/mime/packages/brimlet-x12.xml"; do
    printf '%s\n' "$contents" | grep -qF "$entry" || fail "the package lacks $entry"
done
for doc in copyright changelog.gz; do
    printf '%s\n' "$contents" | grep -q "^-rw-r--r-- .* \./usr/share/doc/brimlet/$doc$" \
        || fail "the package lacks usr/share/doc/brimlet/$doc, readable by all"
done
if command -v dpkg-parsechangelog >/dev/null && [ -f "$changelog" ]; then
    logged=$(gzip -dc "$changelog" | dpkg-parsechangelog -l - -S Version)
    [ "$logged" = "$(dpkg-deb -f "$deb" Version)" ] \
        || fail "the changelog's last version $logged is not the package's $(dpkg-deb -f "$deb" Version)"
fi
dpkg-deb -f "$deb" Depends | grep -q libqt6core6 || fail "the package does not depend on libqt6core6"
dpkg-deb -f "$deb" Depends | grep -q libqt6widgets6 || fail "the package does not depend on libqt6widgets6"
[ "$(dpkg-deb -f "$deb" Package)" = brimlet ] || fail "the package is not named brimlet"

rm -rf "$work"
[ "$failures" -eq 0 ] && echo "install checks passed"
exit "$failures"
