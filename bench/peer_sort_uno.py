#!/usr/bin/python3
"""The class ranking done by LibreOffice through its UNO interface, as a whole process.

Usage:  peer_sort_uno.py GRADES.ods OUT.csv PROFILE_DIR

Starts a headless LibreOffice of its own (user profile in PROFILE_DIR), opens the table, sorts the
students by their total (column M, the formula =SUM(C:L) of the row) from the highest down, stores the
sheet as comma-separated UTF-8 text and ends LibreOffice. This is the peer of
`scorvane-cli sort TABLE.skv --by 总分 --desc` followed by `scorvane-cli csv`. Needs python3-uno.
"""
import os
import subprocess
import sys
import time

import uno
from com.sun.star.beans import PropertyValue
from com.sun.star.table import TableSortField

TOTAL_COLUMN = 12  # 姓名 学号, ten marks, then 总分 (0-based inside the range A..N)


def prop(name, value):
    p = PropertyValue()
    p.Name = name
    p.Value = value
    return p


def connect(pipe, office):
    local = uno.getComponentContext()
    resolver = local.ServiceManager.createInstanceWithContext("com.sun.star.bridge.UnoUrlResolver", local)
    deadline = time.monotonic() + 120
    while True:
        try:
            return resolver.resolve("uno:pipe,name=%s;urp;StarOffice.ComponentContext" % pipe)
        except Exception:
            if office.poll() is not None or time.monotonic() > deadline:
                raise
            time.sleep(0.05)


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    source, target, profile = (os.path.abspath(a) for a in sys.argv[1:])
    pipe = "scorvane_bench_%d" % os.getpid()
    office = subprocess.Popen(
        ["soffice", "--headless", "--invisible", "--norestore", "--nologo", "--nodefault",
         "-env:UserInstallation=" + uno.systemPathToFileUrl(profile),
         "--accept=pipe,name=%s;urp;StarOffice.ComponentContext" % pipe],
        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        context = connect(pipe, office)
        desktop = context.ServiceManager.createInstanceWithContext("com.sun.star.frame.Desktop", context)
        doc = desktop.loadComponentFromURL(uno.systemPathToFileUrl(source), "_blank", 0,
                                           (prop("Hidden", True),))
        sheet = doc.Sheets.getByIndex(0)
        cursor = sheet.createCursor()
        cursor.gotoEndOfUsedArea(False)
        last_row = cursor.RangeAddress.EndRow  # 0-based; row 0 holds the titles
        body = sheet.getCellRangeByPosition(0, 1, 13, last_row)
        field = TableSortField()
        field.Field = TOTAL_COLUMN
        field.IsAscending = False
        descriptor = body.createSortDescriptor()
        for p in descriptor:
            if p.Name == "SortFields":
                p.Value = uno.Any("[]com.sun.star.table.TableSortField", (field,))
            elif p.Name == "ContainsHeader":
                p.Value = False
        uno.invoke(body, "sort", (uno.Any("[]com.sun.star.beans.PropertyValue", tuple(descriptor)),))
        # 44 comma, 34 quote, 76 UTF-8, first line 1
        doc.storeToURL(uno.systemPathToFileUrl(target),
                       (prop("FilterName", "Text - txt - csv (StarCalc)"), prop("FilterOptions", "44,34,76,1")))
        doc.close(True)
        try:
            desktop.terminate()
        except Exception:  # the bridge goes away with the office
            pass
        office.wait(timeout=120)
    finally:
        if office.poll() is None:
            office.kill()
            office.wait()


if __name__ == "__main__":
    main()
