#!/bin/sh
# The program's message ids: collects every text marked with Tr(), Tr8() or wxTRANSLATE() in src/ into the
# catalog template src/resources/locale/zpm.pot and merges it into the catalogs (en.po).
#   scripts/extract-messages.sh          rewrite zpm.pot, merge en.po (new entries come untranslated)
#   scripts/extract-messages.sh --check  change nothing; fail when zpm.pot is not what the sources
#                                        give, or a catalog lacks a translation, has a fuzzy or an
#                                        obsolete entry, or breaks a placeholder
set -eu
export LC_ALL=C.UTF-8  # msgfmt reports its statistics in English
cd "$(dirname "$0")/.."
locale=src/resources/locale
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# File names without line numbers and sorted entries: moving code around leaves the template alone.
find src -name '*.cpp' -o -name '*.h' | LC_ALL=C sort >"$work/files"
xgettext --language=C++ --from-code=UTF-8 --keyword=Tr --keyword=Tr8 --keyword=wxTRANSLATE --add-location=file \
  --sort-output --package-name=zpm --package-version=4.8 --msgid-bugs-address=zpm@zepmonic.invalid \
  --files-from="$work/files" --output="$work/zpm.pot"
# The creation date is the only line that changes from one run to the next.
sed -i '/^"POT-Creation-Date:/d' "$work/zpm.pot"

if [ "${1:-}" != "--check" ]; then
  cp "$work/zpm.pot" "$locale/zpm.pot"
  for po in "$locale"/*.po; do
    msgmerge --quiet --update --backup=none --no-fuzzy-matching --add-location=file --sort-output \
      "$po" "$locale/zpm.pot"
    msgattrib --no-obsolete --sort-output --output-file="$po" "$po"  # ids the sources lost go
  done
  exit 0
fi

status=0
if ! cmp -s "$work/zpm.pot" "$locale/zpm.pot"; then
  echo "$locale/zpm.pot is not what the sources give; run scripts/extract-messages.sh:" >&2
  diff -u "$locale/zpm.pot" "$work/zpm.pot" | head -40 >&2
  status=1
fi
for po in "$locale"/*.po; do
  # Every id of the template in the catalog, and no id the sources lost.
  if ! msgcmp "$po" "$locale/zpm.pot" 2>"$work/msgcmp"; then
    echo "$po lacks ids of zpm.pot:" >&2
    cat "$work/msgcmp" >&2
    status=1
  fi
  if grep -q '^#~' "$po"; then
    echo "$po keeps obsolete entries" >&2
    status=1
  fi
  # --check: placeholders (%s, %d, ...) in number and order, header, accelerators.
  if ! msgfmt --check --statistics --output-file="$work/out.mo" "$po" 2>"$work/stats"; then
    cat "$work/stats" >&2
    status=1
    continue
  fi
  cat "$work/stats"
  if grep -Eq 'fuzzy|untranslated' "$work/stats"; then
    echo "$po is not complete" >&2
    status=1
  fi
done
exit $status
