#!/bin/sh
# Checks the built user's manual and the tool that makes it.
# Usage: ManualPdfTest.sh MANUALPDF BUILT_MANUAL FIXTURES WORK_FOLDER
set -eu
tool=$1 manual=$2 fixtures=$3 work=$4
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# The manual built beside the executables.
if [ ! -s "$manual" ]; then
    fail "$manual is missing or empty"
elif [ "$(head -c 4 "$manual")" != "%PDF" ]; then
    fail "$manual does not start with %PDF"
else
    text=$(pdftotext "$manual" -)
    for heading in "Brimlet User's Manual" "Find in Files" "Desktop integration" \
        "The command-line tool: brimlet-cli"; do
        printf '%s\n' "$text" | grep -qF "$heading" || fail "the manual has no heading \"$heading\""
    done
fi

rm -rf "$work"
mkdir -p "$work"

# A picture referenced relative to the Markdown file ends up in the PDF.
if "$tool" "$fixtures/picture.md" "$work/picture.pdf"; then
    list=$(pdfimages -list "$work/picture.pdf" | tail -n +3)
    pictures=$(printf '%s\n' "$list" | grep -c image || true)
    [ "$pictures" -eq 1 ] || fail "picture.pdf holds $pictures pictures instead of 1"
    # 900 pixels at 96 per inch are wider than the page's 6.7 inches of text: narrowed to fit,
    # the picture is drawn at more than 96 pixels per inch.
    ppi=$(printf '%s\n' "$list" | awk '{ print $13; exit }')
    [ "${ppi:-0}" -gt 120 ] || fail "the wide picture is drawn at $ppi pixels per inch, not fitted to the page"
else
    fail "the tool failed on a manual with a picture"
fi

# A picture that is not there fails the run and leaves no PDF behind.
if "$tool" "$fixtures/missing.md" "$work/missing.pdf" 2>"$work/missing.err"; then
    fail "the tool accepted a manual whose picture is missing"
fi
grep -qF "images/not-there.png" "$work/missing.err" || fail "the missing picture is not named"
[ ! -e "$work/missing.pdf" ] || fail "a failed run left missing.pdf behind"
[ -z "$(ls -A "$work" | grep -v -e '^picture.pdf$' -e '^missing.err$')" ] || fail "stray files: $(ls -A "$work")"

rm -rf "$work"
[ "$failures" -eq 0 ] && echo "manual checks passed"
exit "$failures"
