#!/usr/bin/env python3
"""Writes tests/data/sort_reference.csv: the exact orders the partition
sorts of CMatrix and clsMatrix leave, with their tie orders, following the
documented steps with plain Python. Run once when the cases change (CI reads
the committed file):

    python3 scripts/make_sort_reference.py > tests/data/sort_reference.csv

Tables (format in reference_csv.py), for each case <c>:
  qs.<c>.in             keys, one row per row; row i is row number i + 1
  qs.<c>.rows<k>        CMatrix.QuickSort of the rows on column k, ascending:
                        the row numbers in their new order (descending is
                        this order reversed)
  qs.<c>.columns        the same on the transpose: columns sorted on row 1
  th.<c>.in             input of QuickSortWithThreshold
  th.<c>.<t>.<a>        its result for threshold t, absolute a (0 or 1)
  rank.<c>.in / .out    a column and its mid-ranks
  cq.<c>.in / .order    clsMatrix.QuickSort of the rows on column 1
                        (median-of-three pivot), the row numbers in order
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from reference_csv import emit, partition_sort, random  # noqa: E402

sys.setrecursionlimit(100000)
NAN = float("nan")


def quicksort_rows(a, key, lo, hi):
    """CMatrix's partition sort of rows lo..hi by column `key`."""
    partition_sort(a, lambda row: row[key], lo, hi)


def reverse_rows(a, first, last):
    """Rows first..last (1-based) in reverse order."""
    for k in range((last - first) // 2 + 1):
        a[first + k - 1], a[last - k - 1] = a[last - k - 1], a[first + k - 1]


def ascending_order(keys_by_row, key):
    rows = [list(r) + [i + 1] for i, r in enumerate(keys_by_row)]
    quicksort_rows(rows, key, 0, len(rows) - 1)
    return [r[-1] for r in rows]


def threshold_sort(a, threshold, absolute):
    a = [list(r) for r in a]
    r, c = len(a), len(a[0])

    def below(v):
        return abs(v) < threshold if absolute else v < threshold

    for k in range(c, 0, -1):
        quicksort_rows(a, k - 1, 0, r - 1)
        reverse_rows(a, 1, r)
    start = 1
    col = 1
    while col <= c and start != r:
        if col > 1:
            quicksort_rows(a, col - 1, start - 1, r - 1)
            reverse_rows(a, start, r)
        first = last = 0
        for i in range(start, r + 1):
            if below(a[i - 1][col - 1]):
                if first == 0:
                    first = i
                last = i
            elif first != 0:
                break
        if first == 0:
            break
        if last < r:
            n = last - first + 1
            run = a[first - 1:last]
            for i in range(last + 1, r + 1):
                a[first + (i - last) - 2] = a[i - 1]
            for k in range(n):
                a[r - n + k] = run[k]
            start = r - n + 1
        else:
            start = first
        col += 1
    return a


def mid_ranks(x):
    return [sum(y < v for y in x) + 1 + (sum(y == v for y in x) - 1) * 0.5 for v in x]


def median_quicksort(a, key, first, last):
    """clsMatrix's sort: pivot the median of first, middle and last keys."""
    middle = first + (last - first) // 2
    x, y, z = a[first][key], a[middle][key], a[last][key]
    pivot = max(min(x, y), min(max(x, y), z))
    i, j = first, last
    while True:
        while a[i][key] < pivot and i < last:
            i += 1
        while pivot < a[j][key] and j > first:
            j -= 1
        if i > j:
            break
        a[i], a[j] = a[j], a[i]
        i += 1
        j -= 1
        if not i <= j:
            break
    if j - first >= last - i:
        if i < last:
            median_quicksort(a, key, i, last)
        if first < j:
            median_quicksort(a, key, first, j)
    else:
        if first < j:
            median_quicksort(a, key, first, j)
        if i < last:
            median_quicksort(a, key, i, last)


def keys(rng, rows, cols, distinct):
    return [[float(rng.randrange(distinct) - distinct // 2) for _ in range(cols)]
            for _ in range(rows)]


def main(out):
    rng = random.Random(11)
    cases = {}
    for distinct, sizes in ((1, (5, 31)), (2, (1, 2, 3, 8, 31)), (3, (2, 3, 8, 31)), (10, (31,)),
                            (1000, (2, 8, 31))):
        for rows in sizes:
            cases[f"d{distinct}r{rows}"] = keys(rng, rows, 3, distinct)
    cases["d3r200"] = keys(rng, 200, 3, 3)
    n = 60
    cases["ascendingties"] = [[float(i // 3)] for i in range(n)]
    cases["descendingties"] = [[float(-(i // 4))] for i in range(n)]
    cases["nan"] = [[NAN if i % 7 == 0 else float((i * 37) % 11)] for i in range(n)]
    cases["signedzeros"] = [[-0.0 if i % 2 else 0.0] for i in range(n)]
    cases["organpipe"] = [[float(i if i < n // 2 else n - i)] for i in range(n)]
    cases["pairs"] = [[float(i // 2)] for i in range(n)]
    for name, a in cases.items():
        emit(out, f"qs.{name}.in", a)
        for key in sorted({0, len(a[0]) - 1}):
            emit(out, f"qs.{name}.rows{key + 1}", ascending_order(a, key))
        if len(a[0]) > 1:
            emit(out, f"qs.{name}.columns", ascending_order([list(c) for c in zip(*a)], 0))

    rng = random.Random(5)
    for distinct, rows, cols in ((3, 7, 1), (3, 9, 3), (9, 12, 2), (9, 30, 4), (1000, 8, 2)):
        a = keys(rng, rows, cols, distinct)
        name = f"d{distinct}r{rows}c{cols}"
        emit(out, f"th.{name}.in", a)
        for t in (-1.0, 0.0, 2.0):
            for absolute in (0, 1):
                emit(out, f"th.{name}.{t:g}.{absolute}", threshold_sort(a, t, absolute))

    rng = random.Random(13)
    for distinct in (2, 7, 1000):
        x = [float(rng.randrange(distinct)) for _ in range(60)]
        emit(out, f"rank.d{distinct}.in", [[v] for v in x])
        emit(out, f"rank.d{distinct}.out", [[v] for v in mid_ranks(x)])

    rng = random.Random(17)
    for trial in range(8):
        rows = (1, 2, 3, 17, 40, 40, 90, 90)[trial]
        spread = 5 if trial % 2 else 1000
        a = [[float(rng.randrange(spread + 1)), float(i + 1), rng.randrange(spread + 1) * 0.5]
             for i in range(rows)]
        emit(out, f"cq.t{trial}.in", a)
        b = [list(r) for r in a]
        median_quicksort(b, 0, 0, rows - 1)
        emit(out, f"cq.t{trial}.order", [r[1] for r in b])


if __name__ == "__main__":
    main(sys.stdout)
