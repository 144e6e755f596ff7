#!/usr/bin/env bash
# The xscreensaver list command on a user's file with other screen savers:
# run twice, it adds one line, keeps every other byte and the file's
# permissions, and the second run changes nothing. Without a file it makes
# one that lists only Quorvel 3D. A symbolic link stays a link.
set -uo pipefail
command=${1:?usage: xscreensaver_add.sh PATH-TO-quorvel3d-xscreensaver-add}

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
checks=0
check() {
  local description=$1; shift
  checks=$((checks + 1))
  if "$@"; then echo "ok: $description"; else echo "FAILED: $description"; failures=$((failures + 1)); fi
}

file=$tmp/home/.xscreensaver
mkdir -p "$tmp/home"
# As xscreensaver-settings lays it out: tabs, "\n\" continuations, a wrapped
# command, the list closed by an empty line.
printf '%b' \
  '# XScreenSaver Preferences File\n' \
  '# Written by xscreensaver-settings 6.06 for alice on Tue Dec  8 10:00:00 2026.\n\n' \
  'timeout:\t0:10:00\nmode:\t\tone\nselected:\t1\n\n' \
  'programs:\t\t\t\t\t\t\t\t      \\\n' \
  '\t\t\t\tmaze --root\t\t\t\t    \\n\\\n' \
  '  GL: \t\t\t\tsuperquadrics --root\t\t\t    \\n\\\n' \
  '-\t\t\t\tapple2 --root --text   \\\n' \
  '\t\t\t\t  --fast\t\t\t\t    \\n\\\n' \
  '\n\npointerHysteresis:\t10\n' > "$file"
chmod 0640 "$file"
cp -p "$file" "$tmp/original"

"$command" --file "$file" > "$tmp/first.out" 2>&1
check "the first run succeeds" [ $? -eq 0 ]
check "the first run says it added the entry" grep -q 'Added Quorvel 3D' "$tmp/first.out"
inode=$(stat -c %i "$file")
"$command" --file "$file" > "$tmp/second.out" 2>&1
check "the second run succeeds" [ $? -eq 0 ]
check "the second run says it is there already" grep -q 'already listed' "$tmp/second.out"
check "the second run leaves the file alone" [ "$(stat -c %i "$file")" = "$inode" ]

diff "$tmp/original" "$file" > "$tmp/diff"
check "exactly one line is added" [ "$(grep -c '^>' "$tmp/diff")" -eq 1 ]
check "no line is removed or changed" [ "$(grep -c '^<' "$tmp/diff")" -eq 0 ]
added=$(grep '^>' "$tmp/diff" | cut -c3-)
check "the added line is the entry" [ "$added" = '  GL: "Quorvel 3D" quorvel3d --root \n\' ]
grep -v -x -F -- "$added" "$file" > "$tmp/rest"
check "every other byte is kept" cmp "$tmp/rest" "$tmp/original"
check "it is the last entry, before the line that ends the list" \
  grep -q -x -F -- "$added" <(sed -n '/apple2/,/^$/p' "$file")
check "the permissions are kept" [ "$(stat -c %a "$file")" = 640 ]
check "no temporary file is left" [ "$(ls -A "$tmp/home")" = .xscreensaver ]

new=$tmp/fresh/.xscreensaver
mkdir -p "$tmp/fresh"
"$command" --file "$new" > "$tmp/new.out" 2>&1
check "a missing file is created" grep -q 'Created' "$tmp/new.out"
check "the new file lists us" grep -q -F 'GL: "Quorvel 3D" quorvel3d --root' "$new"
check "the new file sets nothing but the list" \
  [ "$(grep -v -e '^#' -e '^$' "$new" | grep -c ':.*[^\\]$')" -eq 0 ]

# A dangling link (a dotfiles folder not filled yet): the file is made where
# the link points and the link stays; a link into a missing folder is
# refused and left alone, and no folder is made.
mkdir -p "$tmp/linked/dots"
ln -s dots/xscreensaver "$tmp/linked/.xscreensaver"
"$command" --file "$tmp/linked/.xscreensaver" > "$tmp/linked.out" 2>&1
check "a dangling link is written through" [ $? -eq 0 ]
check "the dangling link stays a link" [ "$(readlink "$tmp/linked/.xscreensaver")" = dots/xscreensaver ]
check "its target is made and lists us" grep -q -F '"Quorvel 3D" quorvel3d' "$tmp/linked/dots/xscreensaver"
ln -s "$tmp/nowhere/dots/xscreensaver" "$tmp/linked/.stray"
"$command" --file "$tmp/linked/.stray" > "$tmp/stray.out" 2> "$tmp/stray.err"
check "a link into a missing folder is refused" [ $? -eq 1 ]
check "the refusal says why" grep -q "symbolic link to $tmp/nowhere/dots/xscreensaver, whose folder does not exist" "$tmp/stray.err"
check "that link is left as it is" [ "$(readlink "$tmp/linked/.stray")" = "$tmp/nowhere/dots/xscreensaver" ]
check "no folder is made for it" [ ! -e "$tmp/nowhere" ]

"$command" --bogus > /dev/null 2>&1
check "an unknown option is refused with 2" [ $? -eq 2 ]

echo "$((checks - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
