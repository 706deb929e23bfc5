"""Prints the first sheet of a spreadsheet file as JSON, read by xlrd: an independent
reader of the legacy binary format. Usage: read_xls.py FILE"""
import json
import sys

import xlrd

book = xlrd.open_workbook(sys.argv[1])
sheet = book.sheet_by_index(0)
cells = []
for r in range(sheet.nrows):
    for c in range(sheet.row_len(r)):
        cell = sheet.cell(r, c)
        if cell.ctype != xlrd.XL_CELL_EMPTY:
            kind = "number" if cell.ctype == xlrd.XL_CELL_NUMBER else "text"
            cells.append({"row": r, "col": c, "kind": kind, "value": cell.value})
json.dump({"biff": book.biff_version, "encoding": book.encoding, "rows": sheet.nrows,
           "cols": sheet.ncols, "cells": cells}, sys.stdout, ensure_ascii=True)
