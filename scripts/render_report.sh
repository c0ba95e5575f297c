#!/usr/bin/env bash
# Renders a report workbook as a spreadsheet program shows it: LibreOffice
# (headless) prints its Report sheet to a PDF page of its own, pdftoppm
# turns that page into a PNG.
#   scripts/render_report.sh [report.xlsx] [docs/report.png] [dpi]
# Needs the test group of scripts/deps.sh (LibreOffice Calc, poppler-utils).
set -euo pipefail
cd "$(dirname "$0")/.."
workbook="${1:-report.xlsx}"
png="${2:-docs/report.png}"
dpi="${3:-56}"
[[ -f "$workbook" ]] || { echo "no such workbook: $workbook (run scripts/build.sh first)" >&2; exit 1; }
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cp "$workbook" "$scratch/report.xlsx"
# Each sheet on one page of its own size; a LibreOffice profile of its own.
soffice -env:UserInstallation="file://$scratch/profile" --headless \
  --convert-to 'pdf:calc_pdf_Export:{"SinglePageSheets":{"type":"boolean","value":"true"}}' \
  --outdir "$scratch" "$scratch/report.xlsx" >"$scratch/soffice.log" 2>&1 ||
  { cat "$scratch/soffice.log" >&2; exit 1; }
[[ -s "$scratch/report.pdf" ]] || { echo "LibreOffice made no PDF of $workbook" >&2; exit 1; }
# Page 1 is the Report sheet.
pdftoppm -f 1 -l 1 -r "$dpi" -png -singlefile "$scratch/report.pdf" "$scratch/page"
mkdir -p "$(dirname "$png")"
mv "$scratch/page.png" "$png"
echo "$png: $(stat -c %s "$png") bytes"
