# Shared by the make_*_reference.py generators: named tables written one a
# line as "name,rows,columns," and then the elements row by row, each as
# the shortest text that reads back as the same double (an integer without
# a point, -0 as "-0"). Python's floats are IEEE doubles with correctly rounded +, -, *,
# / and sqrt and no fused multiply-add, so a computation written in the
# documented order gives the same doubles as the library must.
import math
import random


def text(v):
    v = float(v)
    if v.is_integer() and abs(v) < 1e15:
        return "-0" if math.copysign(1, v) < 0 and v == 0 else str(int(v))
    return repr(v)


def emit(out, name, rows):
    if rows and not isinstance(rows[0], list):
        rows = [rows]
    cells = [text(v) for row in rows for v in row]
    out.write(f"{name},{len(rows)},{len(rows[0]) if rows else 0},{','.join(cells)}\n")


def round15(x):
    """x rounded to 15 significant digits, as the text round trip does it."""
    return float("%.15g" % x)


def uniform_table(rng, rows, cols, lo, hi, digits=3):
    return [[round(rng.uniform(lo, hi), digits) for _ in range(cols)] for _ in range(rows)]


def formula_table(rows, cols, offset=0):
    """Data both sides compute the same way: ((i 7919 + j 104729) mod 2003) / 7 - 140."""
    return [[((i * 7919 + (j + offset) * 104729) % 2003) / 7.0 - 140 for j in range(cols)]
            for i in range(rows)]


def product(a, b):
    """The plain product, each element summed from 0 in increasing k."""
    out = []
    for i in range(len(a)):
        row = []
        for j in range(len(b[0])):
            s = 0.0
            for k in range(len(b)):
                s = s + a[i][k] * b[k][j]
            row.append(s)
        out.append(row)
    return out


def transpose(a):
    return [list(r) for r in zip(*a)]


def gram(x, shift):
    """X'X + shift I, each element summed from 0 in increasing row."""
    return [[v + (shift if i == j else 0.0) for j, v in enumerate(row)]
            for i, row in enumerate(product(transpose(x), x))]


__all__ = ["emit", "round15", "uniform_table", "formula_table", "product", "transpose", "gram",
           "math", "random"]


def partition_sort(items, key, lo, hi):
    """The library's partition quicksort of items[lo..hi] in place by key(item):
    pivot the first key, scan in from both ends, swap, and sort the smaller
    part first."""
    p = key(items[lo])
    i, j = lo, hi
    while True:
        while key(items[i]) < p and i < hi:
            i += 1
        while p < key(items[j]) and j > lo:
            j -= 1
        if i > j:
            break
        items[i], items[j] = items[j], items[i]
        i += 1
        j -= 1
        if i > j:
            break
    if j - lo >= hi - i:
        if i < hi:
            partition_sort(items, key, i, hi)
        if lo < j:
            partition_sort(items, key, lo, j)
    else:
        if lo < j:
            partition_sort(items, key, lo, j)
        if i < hi:
            partition_sort(items, key, i, hi)
