"""Statistics of a dataset file's value column per program, by Python's statistics module,
in the layout of `mervex-cli stats` (title line skipped): program, name, unit, n, of which
flagged, mean, sd, cv, min, max, non-numeric. An empty field is no value; a value whose
state (the field after its unit) is not "OK" is flagged, and left out with --ok-only.
Usage: stats_check.py FILE COLUMN (1-based) [--ok-only]."""
import re
import statistics
import sys

NUMBER = re.compile(r"^\s*-?[0-9.]+([eE][-+]?[0-9]+)?\s*$")

path, column = sys.argv[1], int(sys.argv[2]) - 1
ok_only = sys.argv[3:] == ["--ok-only"]
lines = open(path, encoding="cp1252", newline="").read().split("\r\n")[4:]
groups = {}
for line in lines:
    fields = (line.split(";") + [""] * 16)[:16]
    value, state = fields[column].strip(), fields[column + 2].strip()
    if not value or (ok_only and state != "OK"):
        continue
    key = (fields[4].strip(), fields[5].strip(), fields[column + 1].strip())
    values, counts = groups.setdefault(key, ([], {"flagged": 0, "texts": 0}))
    if NUMBER.match(value):
        values.append(float(value))
        counts["flagged"] += state not in ("OK", "")
    else:
        counts["texts"] += 1
for (prog, name, unit), (values, counts) in sorted(groups.items(), key=lambda kv: (int(kv[0][0]), kv[0][1], kv[0][2])):
    row = [prog, name, unit, str(len(values)), str(counts["flagged"])]
    if values:
        mean = statistics.mean(values)
        sd = statistics.stdev(values) if len(values) > 1 else None
        cv = sd / abs(mean) * 100 if sd is not None and mean != 0 else None
        row += ["%.6g" % mean, "" if sd is None else "%.6g" % sd, "" if cv is None else "%.6g" % cv,
                "%.6g" % min(values), "%.6g" % max(values)]
    else:
        row += [""] * 5
    row.append(str(counts["texts"]))
    print("\t".join(row))
