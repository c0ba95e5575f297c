#!/usr/bin/env bash
# End to end: the built `orv report` on the built-in sample writes a
# workbook that LibreOffice opens; the PDF it makes holds every table title
# and every chart title. A failed run must leave no file behind.
#   tests/app/report_end_to_end.sh path/to/orv
set -euo pipefail
orv=$(realpath "$1")
for tool in soffice pdftotext; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (scripts/deps.sh test)"; exit 1; }
done
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cd "$dir"

"$orv" report -o report.xlsx > summary.txt
grep -q "Wrote report.xlsx: 11 tables and 4 charts" summary.txt || { cat summary.txt; echo "FAIL: summary"; exit 1; }

# LibreOffice in a profile of its own, so that it runs beside any other.
soffice -env:UserInstallation="file://$dir/profile" --headless \
  --convert-to 'pdf:calc_pdf_Export:{"SinglePageSheets":{"type":"boolean","value":"true"}}' \
  report.xlsx > soffice.log 2>&1 || { cat soffice.log; echo "FAIL: LibreOffice"; exit 1; }
[[ -s report.pdf ]] || { cat soffice.log; echo "FAIL: no PDF"; exit 1; }
pdftotext -layout report.pdf report.txt

missing=0
while IFS= read -r title; do
  if ! grep -qF -- "$title" report.txt; then echo "missing: $title"; missing=1; fi
done <<'TITLES'
Statistics report: iris.csv (built-in sample)
Descriptive statistics
Correlation matrix (Pearson r)
Correlation p-values (two-tailed t test, n - 2 df)
Principal components of the correlation matrix
Component loadings (eigenvector x square root of eigenvalue)
Group statistics by Species
One-way analysis of variance by Species
Tukey-Kramer pairwise comparisons
Histogram bins of Sepal length
Sepal width against Sepal length
Regression line and 95% confidence bands
Histogram of Sepal length
Scree plot
Loadings on PC1 and PC2
TITLES
# A number of the tables, as LibreOffice shows it: F of the sepal length
# to four significant digits.
grep -q "119.3" report.txt || { echo "missing: F = 119.3"; missing=1; }
[[ $missing == 0 ]] || { echo "FAIL: titles missing from the rendered report"; exit 1; }

# A failing run leaves nothing behind.
printf 'a,b\n1,2\n' > one.csv
if "$orv" report one.csv -o failed.xlsx 2> failed.txt; then echo "FAIL: a single row passed"; exit 1; fi
[[ ! -e failed.xlsx ]] || { echo "FAIL: output left behind"; exit 1; }
grep -q "a report needs at least 3" failed.txt || { cat failed.txt; echo "FAIL: message"; exit 1; }
echo "PASS"
