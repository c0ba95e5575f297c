#!/usr/bin/env python3
"""Writes tests/data/stats_reference.csv: exact column statistics of CMatrix
and clsMatrix, computed step by step in the documented operation order with
plain Python floats. Run once when the cases change (CI reads the committed
file):

    python3 scripts/make_stats_reference.py > tests/data/stats_reference.csv

Tables (format in reference_csv.py). CMatrix, for each case <c>:
  cm.<c>.x, .y, .w, .dw   data, a second data set, weights for Means and for
                          Descriptives
  cm.<c>.means, .wmeans   Means without and with weights (one row)
  cm.<c>.desc, .wdesc     Descriptives: rows means, SDs, SEs, counts
  cm.<c>.cov, .covxy      Covariance of x, and of x with y
  cm.<c>.cor, .corxy      Correlation of x (and of cov given as a covariance
                          matrix), and of x with y
  cm.blocks.*             x and y of formula_table (rows over several blocks):
                          first and last rows of cov and covxy
clsMatrix (x 40 x 5, y 40 x 3): cls.x, cls.y, cls.covxx, cls.covxy,
  cls.corxx, cls.corxy, cls.desc (rows means, SDs, SEs, counts),
  cls.sscp.<g> and cls.tol.<g> for the group sizes cls.sizes.<g>.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from reference_csv import (emit, formula_table, math, product, random,  # noqa: E402
                           transpose, uniform_table)
from make_linalg_reference import sweep  # noqa: E402


# --- CMatrix: running means ----------------------------------------------------------

def means(x, w=None):
    r, c = len(x), len(x[0])
    w = w or [1.0] * r
    m = [[0.0] * c for _ in range(r)]
    m[0] = list(x[0])
    total = w[0]
    for i in range(1, r):
        total = total + w[i]
        if total > 0:
            for j in range(c):
                m[i][j] = (x[i][j] - m[i - 1][j]) * (w[i] / total) + m[i - 1][j]
    return m[r - 1]


def descriptives(x, w=None):
    r, c = len(x), len(x[0])
    w = w or [1.0] * r
    m = [[0.0] * c for _ in range(r + 1)]
    t = [[0.0] * c for _ in range(r + 1)]
    total, n = 0.0, 0
    for i in range(1, r + 1):
        total = total + w[i - 1]
        if w[i - 1] != 0:
            n += 1
        for j in range(c):
            xi = x[i - 1][j]
            m[i][j] = (xi - m[i - 1][j]) * (w[i - 1] / total) + m[i - 1][j]
            t[i][j] = (xi - m[i - 1][j]) * w[i - 1] * (xi - m[i][j]) + t[i - 1][j]
    f = float(n) / float(n - 1)
    sds = [math.sqrt(t[r][j] / total * f) for j in range(c)]
    return [m[r], sds, [s / math.sqrt(float(n)) for s in sds], [float(n)] * c]


def covariance(x, y=None):
    n, c = len(x), len(x[0])
    other = y if y is not None else x
    cy = len(other[0])
    mux, muy = means(x), means(other)
    C = [[0.0] * cy for _ in range(c)]
    dn = float(n)
    for i in range(n):
        for j in range(c):
            for k in range(cy):
                if y is not None:
                    C[j][k] = C[j][k] + (x[i][j] - mux[j]) * (other[i][k] - muy[k]) / dn
                else:
                    C[j][k] = C[j][k] + (x[i][k] - mux[k]) * (x[i][j] - mux[j]) / dn
    scale = dn / (dn - 1)
    return [[v * scale for v in row] for row in C]


def correlation_of(s):
    k = len(s)
    d = [[1 / math.sqrt(s[i][i]) if i == j else 0.0 for j in range(k)] for i in range(k)]
    return product(product(d, s), d)


def cross_block(x, y, full):
    c = len(x[0])
    return [row[c:] for row in full[:c]]


# --- clsMatrix: means of terms divided by n ------------------------------------------

def cls_covariance(x, y):
    n, p, q = len(x), len(x[0]), len(y[0])
    mx = [0.0] * p
    my = [0.0] * q
    for j in range(p):
        for i in range(n):
            mx[j] = mx[j] + x[i][j] / n
    for k in range(q):
        for i in range(n):
            my[k] = my[k] + y[i][k] / n
    r = [[0.0] * q for _ in range(p)]
    for j in range(p):
        for k in range(q):
            for i in range(n):
                r[j][k] = r[j][k] + (x[i][j] - mx[j]) * (y[i][k] - my[k]) / n
    return r


def cls_descriptives(x):
    out = [[], [], [], []]
    for j in range(len(x[0])):
        m = n = 0.0
        for row in x:
            m = m + row[j]
            n = n + 1
        m = m / n
        s = 0.0
        for row in x:
            s = s + (row[j] - m) * (row[j] - m)
        s = math.sqrt(s / (n - 1))
        for k, v in enumerate((m, s, s / math.sqrt(n), n)):
            out[k].append(v)
    return out


def factor_sscp(x, sizes):
    p = len(x[0])
    r = [[0.0] * p for _ in range(p)]
    for j in range(p):
        for k in range(p):
            offset, T, G = 0, 0.0, 0.0
            for nh in sizes:
                sj = sk = 0.0
                for row in x[offset:offset + nh]:
                    T = T + row[j] * row[k]
                    sj = sj + row[j]
                    sk = sk + row[k]
                G = G + sk * sj / nh
                offset += nh
            r[j][k] = T - G
    return r


def main(out):
    rng = random.Random(29)
    cases = {"random": uniform_table(rng, 30, 4, -5, 5),
             "offset": [[1e8 + v for v in row] for row in uniform_table(rng, 3, 6, -0.5, 0.5)]}
    s = uniform_table(rng, 30, 5, -2, 2)
    for row in s:
        row[1] = float(round(row[1]))  # ties
        row[2] = -2.5  # constant
        row[3] = 2 * row[0] - row[1]  # dependent
        row[4] = row[0] + 1e-9 * row[4]  # nearly dependent
    cases["structured"] = s
    for name, x in cases.items():
        r = len(x)
        y = uniform_table(rng, r, 2, -1, 3)
        w = [float(rng.randrange(5) - (6 if i % 9 == 4 else 0)) for i in range(r)]
        dw = [1.5] + [float(rng.randrange(4)) for _ in range(r - 1)]
        for suffix, table in (("x", x), ("y", y), ("w", [w]), ("dw", [dw]),
                              ("means", [means(x)]), ("wmeans", [means(x, w)]),
                              ("desc", descriptives(x)), ("wdesc", descriptives(x, dw)),
                              ("cov", covariance(x)), ("covxy", covariance(x, y))):
            emit(out, f"cm.{name}.{suffix}", table)
        if name != "structured":  # a constant column has no correlations
            S = covariance(x)
            joined = [a + b for a, b in zip(x, y)]
            emit(out, f"cm.{name}.cor", correlation_of(S))
            emit(out, f"cm.{name}.corxy", cross_block(x, y, correlation_of(covariance(joined))))
    x, y = formula_table(300, 40), formula_table(300, 3, 40)
    cov, covxy = covariance(x), covariance(x, y)
    emit(out, "cm.blocks.cov", [cov[0], cov[-1]])
    emit(out, "cm.blocks.covxy", [covxy[0], covxy[-1]])

    rng = random.Random(8)
    x, y = uniform_table(rng, 40, 5, -5, 20, 2), uniform_table(rng, 40, 3, -5, 20, 2)
    emit(out, "cls.x", x)
    emit(out, "cls.y", y)
    emit(out, "cls.covxx", cls_covariance(x, x))
    emit(out, "cls.covxy", cls_covariance(x, y))
    emit(out, "cls.corxx", correlation_of(cls_covariance(x, x)))
    joined = [a + b for a, b in zip(x, y)]
    emit(out, "cls.corxy", cross_block(x, y, correlation_of(cls_covariance(joined, joined))))
    emit(out, "cls.desc", cls_descriptives(x))
    for name, sizes in (("a", [10, 15, 1, 14]), ("b", [20, 15])):
        w = factor_sscp(x, sizes)
        wi = sweep(w, 1e-20)
        emit(out, f"cls.sizes.{name}", [sizes])
        emit(out, f"cls.sscp.{name}", w)
        emit(out, f"cls.tol.{name}", [[-1.0 / (-wi[i][i] * w[i][i]) for i in range(len(w))]])


if __name__ == "__main__":
    main(sys.stdout)
