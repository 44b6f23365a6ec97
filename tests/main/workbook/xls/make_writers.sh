#!/usr/bin/env bash
# Writes the workbooks of other programs beside this script: the workbook of make_writers_source.py
# saved by LibreOffice (libreoffice.xls, libreoffice_1904.xls in the 1904 date system) and by Gnumeric
# (gnumeric.xls, and gnumeric_biff7.xls: BIFF5 in code page 936, written in a GBK locale), each with the
# .xlsx the same program saved of the same workbook, which the tests read as the reference.
# Needs python3-openpyxl, libreoffice-calc, gnumeric and the zh_CN.GBK locale (localedef -i zh_CN -f GBK zh_CN.GBK).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
/usr/bin/python3 "$here/make_writers_source.py" unicode.xlsx unicode
/usr/bin/python3 "$here/make_writers_source.py" gbk.xlsx gbk
/usr/bin/python3 "$here/make_writers_source.py" 1904.xlsx 1904
office=(soffice "-env:UserInstallation=file://$work/profile" --headless --calc)
"${office[@]}" --convert-to xls --outdir xls unicode.xlsx 1904.xlsx >/dev/null 2>&1
"${office[@]}" --convert-to xlsx --outdir xlsx unicode.xlsx 1904.xlsx >/dev/null 2>&1
cp xls/unicode.xls "$here/libreoffice.xls"
cp xlsx/unicode.xlsx "$here/libreoffice.xlsx"
cp xls/1904.xls "$here/libreoffice_1904.xls"
cp xlsx/1904.xlsx "$here/libreoffice_1904.xlsx"
ssconvert -T Gnumeric_Excel:excel_biff8 unicode.xlsx "$here/gnumeric.xls" >/dev/null 2>&1
ssconvert -T Gnumeric_Excel:xlsx2 unicode.xlsx "$here/gnumeric.xlsx" >/dev/null 2>&1
LANG=zh_CN.GBK LC_ALL=zh_CN.GBK ssconvert -T Gnumeric_Excel:excel_biff7 gbk.xlsx "$here/gnumeric_biff7.xls" >/dev/null 2>&1
ssconvert -T Gnumeric_Excel:xlsx2 gbk.xlsx "$here/gnumeric_biff7.xlsx" >/dev/null 2>&1
