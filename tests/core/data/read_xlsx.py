"""Prints the first sheet of a workbook as JSON, read by openpyxl: an independent reader
of the Office Open XML format. Usage: read_xlsx.py FILE [MAXROW]
Cells of rows 1..MAXROW (default: all) and of the last row are listed with their type:
"number", "text", "date" (a datetime.datetime) or "time" (a datetime.time), and the colour
of a solid fill ("FFFFC8C8"; empty for none)."""
import datetime
import json
import sys

import openpyxl

book = openpyxl.load_workbook(sys.argv[1])
sheet = book.worksheets[0]
max_row = int(sys.argv[2]) if len(sys.argv) > 2 else sheet.max_row
cells = []
rows = list(range(1, min(max_row, sheet.max_row) + 1))
if sheet.max_row not in rows:
    rows.append(sheet.max_row)
for r in rows:
    for c in range(1, sheet.max_column + 1):
        cell = sheet.cell(row=r, column=c)
        value = cell.value
        if value is None:
            continue
        if isinstance(value, bool):
            kind = "bool"
        elif isinstance(value, (int, float)):
            kind = "number"
        elif isinstance(value, datetime.datetime):
            kind, value = "date", value.isoformat()
        elif isinstance(value, datetime.time):
            kind, value = "time", value.isoformat()
        else:
            kind, value = "text", str(value)
        cells.append({"row": r, "col": c, "kind": kind, "value": value,
                      "format": cell.number_format, "bold": bool(cell.font.b),
                      "fill": cell.fill.fgColor.rgb if cell.fill.fill_type == "solid" else ""})
widths = {}
for letter, dim in sheet.column_dimensions.items():
    if dim.width:
        for c in range(dim.min, dim.max + 1):
            widths[str(c)] = dim.width
json.dump({"rows": sheet.max_row, "cols": sheet.max_column, "freeze": sheet.freeze_panes,
           "widths": widths, "cells": cells}, sys.stdout, ensure_ascii=True)
