#!/usr/bin/env python3
"""Jinja2 peer of BM_MergeTable: renders the same table from the same values
(100 plain fields, N rows of five columns) and writes it to a file.

usage: bench/jinja2_table.py [ROWS ...]   (default 10000 20000)
"""
import os
import sys
import tempfile
import timeit

import jinja2

PLAIN_FIELDS = 100
COLUMNS = 5

TEMPLATE = (
    "Header\n"
    + "".join(f"K{k}: {{{{ K{k} }}}}\n" for k in range(PLAIN_FIELDS))
    + "{% for row in rows %}"
    + ";".join(f"{{{{ row.C{c} }}}}" for c in range(1, COLUMNS + 1))
    + "\n{% endfor %}End\n"
)


def values(rows):
    plain = {f"K{k}": f"value {k}" for k in range(PLAIN_FIELDS)}
    table = [{f"C{c}": f"r{r}c{c}" for c in range(1, COLUMNS + 1)} for r in range(rows)]
    return plain, table


def main():
    sizes = [int(a) for a in sys.argv[1:]] or [10000, 20000]
    template = jinja2.Environment(autoescape=False).from_string(TEMPLATE)
    out = os.path.join(tempfile.gettempdir(), f"nkp_jinja2_{os.getpid()}.txt")
    try:
        for rows in sizes:
            plain, table = values(rows)

            def render():
                with open(out, "w", encoding="cp1251", newline="\r\n") as f:
                    f.write(template.render(rows=table, **plain))

            runs = 20
            best = min(timeit.repeat(render, number=1, repeat=runs))
            print(f"jinja2_table/{rows}: {best * 1000:.2f} ms (best of {runs}, render and write)")
    finally:
        if os.path.exists(out):
            os.remove(out)


if __name__ == "__main__":
    main()
