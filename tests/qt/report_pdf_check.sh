#!/bin/sh
# vantic-report-pdf on saved reports: the document's page breaks start new
# pages, a long report fills several pages with every line once, and the
# page count is the same on every run. Skipped without poppler-utils.
set -eu
pdf_program=$1
command -v pdftotext >/dev/null && command -v pdfinfo >/dev/null || { echo "no poppler-utils"; exit 77; }
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
export LSAN_OPTIONS="${LSAN_OPTIONS:-} detect_leaks=0"

header='{\rtf1\ansi\ansicpg1252\deff0\deflang1033{\fonttbl{\f0\fnil\fcharset0MS Sans Serif;}}'
printf '%s\r\n\\fs48 First \\par\\fs24 one \\par \\page\r\nSecond \\par \\page\r\nThird Caf\\'"'"'e9 \\} \\\\b \\{ \\par }\r\n\0' \
    "$header" >"$dir/breaks.rtf"
"$pdf_program" "$dir/breaks.rtf" "$dir/breaks.pdf" >/dev/null
pages=$(pdfinfo "$dir/breaks.pdf" | awk '/^Pages:/ {print $2}')
[ "$pages" -ge 3 ] || { echo "two page breaks gave $pages pages"; exit 1; }
pdftotext -f 3 -l 3 "$dir/breaks.pdf" - | grep -qF 'Third Café } \b {' ||
    { echo "the third page lacks its text"; exit 1; }

{
    printf '%s\r\n' "$header"
    i=1
    while [ $i -le 400 ]; do printf 'Line %d of the report \\par\r\n' $i; i=$((i + 1)); done
    printf '}\r\n'
} >"$dir/long.rtf"
"$pdf_program" "$dir/long.rtf" "$dir/long1.pdf" >/dev/null
"$pdf_program" "$dir/long.rtf" "$dir/long2.pdf" >/dev/null
first=$(pdfinfo "$dir/long1.pdf" | awk '/^Pages:/ {print $2}')
second=$(pdfinfo "$dir/long2.pdf" | awk '/^Pages:/ {print $2}')
[ "$first" -gt 1 ] && [ "$first" = "$second" ] || { echo "page counts $first and $second"; exit 1; }
# Every line exactly once: none lost at a page's end, none drawn twice.
pdftotext "$dir/long1.pdf" - | grep -o 'Line [0-9]* of' | sort | uniq -c | awk '$1 != 1 {bad=1} END {exit bad}' ||
    { echo "a line appears more than once"; exit 1; }
[ "$(pdftotext "$dir/long1.pdf" - | grep -c 'Line [0-9]* of')" -eq 400 ] || { echo "lines lost"; exit 1; }
echo "ok: $pages and $first pages"
