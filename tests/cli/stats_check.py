"""Statistics of a dataset file's value column per program, by Python's statistics module,
in the layout of `mervex-cli stats` (title line skipped): program, name, unit, n, mean, sd,
cv, min, max, non-numeric. Usage: stats_check.py FILE COLUMN (1-based)."""
import re
import statistics
import sys

NUMBER = re.compile(r"^\s*-?[0-9.]+([eE][-+]?[0-9]+)?\s*$")

path, column = sys.argv[1], int(sys.argv[2]) - 1
lines = open(path, encoding="cp1252", newline="").read().split("\r\n")[4:]
groups = {}
for line in lines:
    fields = (line.split(";") + [""] * 16)[:16]
    key = (fields[4].strip(), fields[5].strip(), fields[column + 1].strip())
    values, texts = groups.setdefault(key, ([], [0]))
    if NUMBER.match(fields[column]):
        values.append(float(fields[column]))
    else:
        texts[0] += 1
for (prog, name, unit), (values, texts) in sorted(groups.items(), key=lambda kv: (int(kv[0][0]), kv[0][1], kv[0][2])):
    row = [prog, name, unit, str(len(values))]
    if values:
        mean = statistics.mean(values)
        sd = statistics.stdev(values) if len(values) > 1 else None
        cv = sd / abs(mean) * 100 if sd is not None and mean != 0 else None
        row += ["%.6g" % mean, "" if sd is None else "%.6g" % sd, "" if cv is None else "%.6g" % cv,
                "%.6g" % min(values), "%.6g" % max(values)]
    else:
        row += [""] * 5
    row.append(str(texts[0]))
    print("\t".join(row))
