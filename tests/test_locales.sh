#!/bin/sh
# Generates the locales that the tests of number and name handling run
# under, when the system lacks them: de_DE.UTF-8 writes decimals with a
# comma, and tr_TR.UTF-8 lowers 'I' to a dotless i. Needs root and the
# locales package; without them the tests that need a locale say so and skip.
for name in de_DE tr_TR; do
  locale -a 2>/dev/null | grep -qix "$name\.utf-\{0,1\}8" && continue
  if localedef -i "$name" -f UTF-8 "$name.UTF-8"; then
    echo "generated $name.UTF-8"
  else
    echo "cannot generate $name.UTF-8; the tests that need it will skip" >&2
  fi
done
exit 0
