#!/usr/bin/env bash
# `orvellin filetype` end to end: the program itself on real files, without a display.
# Usage: filetype_command.sh ORVELLIN REALFILES
set -u
orvellin=$1
files=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

cp "$files/doc.pdf" "$work/unnamed download"
printf '<html><head><title>t</title></head></html>' > "$work/page.pdf"
: > "$work/empty"

"$orvellin" filetype "$work/unnamed download" "$work/page.pdf" "$work/empty" \
  "$files/image.png" >"$work/out" 2>"$work/err"
code=$?
[ $code -eq 0 ] || fail "exit code $code for existing files"
printf '%s\t%s\n' "$work/unnamed download" pdf "$work/page.pdf" htm "$work/empty" "" \
  "$files/image.png" png >"$work/expected"
cmp -s "$work/out" "$work/expected" || fail "output: $(cat -A "$work/out")"
[ -s "$work/err" ] && fail "unexpected stderr: $(cat "$work/err")"

"$orvellin" filetype "$work/missing.pdf" "$files/doc.rtf" "$work" >"$work/out" 2>"$work/err"
code=$?
[ $code -eq 2 ] || fail "exit code $code with a missing path"
printf '%s\t%s\n' "$files/doc.rtf" rtf >"$work/expected"
cmp -s "$work/out" "$work/expected" || fail "output with a missing path: $(cat -A "$work/out")"
grep -q "missing.pdf: no such file" "$work/err" || fail "no message for the missing path"
grep -q "$work: not a file" "$work/err" || fail "no message for the folder"

"$orvellin" filetype >/dev/null 2>"$work/err"
code=$?
[ $code -eq 2 ] || fail "exit code $code without files"
grep -q "usage: orvellin filetype FILE" "$work/err" || fail "no usage without files"

# The desktop program's help names the command (offscreen: the help needs no screen).
QT_QPA_PLATFORM=offscreen "$orvellin" --help >"$work/help" 2>&1
grep -q "filetype FILE" "$work/help" || fail "--help does not mention filetype: $(cat "$work/help")"

if [ $failures -eq 0 ]; then
  echo "filetype command: all checks passed"
fi
exit $((failures > 0))
