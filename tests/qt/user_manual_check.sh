#!/bin/sh
# The built UserManual.pdf: several pages of laid-out text whose headings,
# status texts and message captions come through, with the pictures of the
# windows; and vantic-manual-pdf turns a small source into a PDF with its
# markup rendered as text and "@VERSION@" filled in with the program's
# version.
# Skipped without poppler-utils.
set -eu
manual=$1
pdf_program=$2
command -v pdftotext >/dev/null && command -v pdfinfo >/dev/null &&
    command -v pdfimages >/dev/null || { echo "no poppler-utils"; exit 77; }
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
export LSAN_OPTIONS="${LSAN_OPTIONS:-} detect_leaks=0"

[ -s "$manual" ] || { echo "no manual at $manual"; exit 1; }
pages=$(pdfinfo "$manual" | awk '/^Pages:/ {print $2}')
[ "$pages" -gt 3 ] || { echo "the manual has $pages pages"; exit 1; }
pdftotext -layout "$manual" "$dir/manual.txt"
for heading in '1. Getting Started' '2. The Unit List' '3. Playlists and Schedules' \
    '4. Deploying' '9. Troubleshooting' 'Check Network Connection' \
    'loop from 08:00 to 17:30' 'Type "yes" in the box to continue...'; do
    grep -qF "$heading" "$dir/manual.txt" || { echo "the manual lacks: $heading"; exit 1; }
done
# The pictures of the windows are laid out in it, not their markup.
pictures=$(pdfimages -list "$manual" | awk 'NR > 2 && $3 == "image"' | wc -l)
[ "$pictures" -ge 4 ] || { echo "the manual has $pictures pictures"; exit 1; }
if grep -qF '](pictures/' "$dir/manual.txt"; then echo "picture markup left in the PDF"; exit 1; fi
# The markup itself never shows in the text.
if grep -qE '^\s*#{1,2} ' "$dir/manual.txt"; then echo "heading markup left in the PDF"; exit 1; fi

# A small source: heading, bullet and example lines on Letter pages.
printf '# Alpha Heading\n\nFirst paragraph\njoined line.\n\n- a bullet <b>\n\n    example  block\n\nRelease @VERSION@ here.\n' >"$dir/small.txt"
"$pdf_program" "$dir/small.txt" "$dir/small.pdf" --letter
pdfinfo "$dir/small.pdf" | grep -q 'Page size: *612 x 792' || { echo "not a Letter page"; exit 1; }
pdftotext -layout "$dir/small.pdf" "$dir/small.out"
for text in 'Alpha Heading' 'First paragraph joined line.' 'a bullet <b>' 'example'; do
    grep -qF "$text" "$dir/small.out" || { echo "the small PDF lacks: $text"; exit 1; }
done
# The version placeholder is filled in, here and in the manual.
grep -qE 'Release [0-9]+\.[0-9]+ here\.' "$dir/small.out" || { echo "no version in the small PDF"; exit 1; }
if grep -qF '@VERSION@' "$dir/manual.txt"; then echo "version placeholder left in the manual"; exit 1; fi
if "$pdf_program" "$dir/missing.txt" "$dir/missing.pdf" 2>/dev/null; then
    echo "a missing source was accepted"; exit 1
fi
[ ! -e "$dir/missing.pdf" ] || { echo "a PDF was written for a missing source"; exit 1; }
printf '# Heading\n\n![Gone](pictures/gone.png)\n' >"$dir/gone.txt"
if "$pdf_program" "$dir/gone.txt" "$dir/gone.pdf" 2>/dev/null || [ -e "$dir/gone.pdf" ]; then
    echo "a source with a missing picture was laid out"; exit 1
fi
echo "ok: $pages pages"
