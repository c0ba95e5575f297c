#!/usr/bin/env python3
"""Writes tests/data/linalg_reference.csv: exact results of the dense
linear algebra of CMatrix and clsMatrix, computed step by step in the
documented operation order with plain Python floats. Run once when the cases
change (CI reads the committed file):

    python3 scripts/make_linalg_reference.py > tests/data/linalg_reference.csv

Tables (see reference_csv.py for the format), for each case <c>:
  jacobi.<c>.in / .d / .v   symmetric input; eigenvalues in the order the
                            rotations leave them; rotations, column j the
                            eigenvector of d[j]
  jacobi.<c>.order          1-based columns of d in ascending sort order (the
                            column quicksort on the eigenvalue row)
  sweep.<c>.in / .zero / .out  generalised inverse by sweeping
  det.<c>.in / .out         determinant by elimination, tiny results to 0
  spd<n>                    a symmetric positive-definite input, and of it:
  chol.spd<n>               the lower Cholesky factor
  minv.spd<n>               the inverse through the upper Cholesky factor
  geninv.<c>.in / .out      C D R generalised inverse by row and column
                            reduction
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from reference_csv import (emit, gram, math, partition_sort, product, random,  # noqa: E402
                           round15, uniform_table)

sys.setrecursionlimit(10000)


# --- cyclic Jacobi rotations -------------------------------------------------------

def jacobi(a):
    n = len(a)
    a = [list(r) for r in a]
    v = [[1.0 if i == j else 0.0 for j in range(n)] for i in range(n)]
    d = [a[i][i] for i in range(n)]
    b = list(d)
    z = [0.0] * n
    for sweep in range(1, 51):
        sm = 0.0
        for p in range(n - 1):
            for q in range(p + 1, n):
                sm += abs(a[p][q])
        if sm < 1e-12:
            return d, v
        tresh = 0.2 * sm / (float(n) * float(n)) if sweep <= 3 else 0.0
        for p in range(n - 1):
            for q in range(p + 1, n):
                g = 100 * abs(a[p][q])
                if sweep > 4 and abs(d[p]) + g == abs(d[p]) and abs(d[q]) + g == abs(d[q]):
                    a[p][q] = 0.0
                elif abs(a[p][q]) > tresh:
                    h = d[q] - d[p]
                    if abs(h) + g == abs(h):
                        t = a[p][q] / h
                    else:
                        theta = 0.5 * h / a[p][q]
                        t = 1 / (abs(theta) + math.sqrt(1 + theta * theta))
                        if theta < 0:
                            t = -t
                    c = 1 / math.sqrt(1 + t * t)
                    s = t * c
                    tau = s / (1 + c)
                    h = t * a[p][q]
                    z[p] -= h
                    z[q] += h
                    d[p] -= h
                    d[q] += h
                    a[p][q] = 0.0

                    def rotate(get_x, get_y):
                        (xi, xj), (yi, yj) = get_x, get_y
                        x0, y0 = xi[xj], yi[yj]
                        xi[xj] = x0 - s * (y0 + x0 * tau)
                        yi[yj] = y0 + s * (x0 - y0 * tau)

                    for j in range(p):
                        rotate((a[j], p), (a[j], q))
                    for j in range(p + 1, q):
                        rotate((a[p], j), (a[j], q))
                    for j in range(q + 1, n):
                        rotate((a[p], j), (a[q], j))
                    for j in range(n):
                        rotate((v[j], p), (v[j], q))
        for i in range(n):
            b[i] += z[i]
            d[i] = b[i]
            z[i] = 0.0
    raise RuntimeError("no convergence")


# --- the sweep operator --------------------------------------------------------------

def sweep(a, zero):
    n = len(a)
    A = [list(r) for r in a]
    for k in range(n):
        if A[k][k] == 0:
            for j in range(n):
                A[k][j] = A[j][k] = 0.0
            continue
        A[k][k] = -1 / A[k][k]
        for j in range(n):
            if j != k:
                A[k][j] = -A[k][j] * A[k][k]
                A[j][k] = A[k][j]
        for i in range(n):
            if i == k:
                continue
            for j in range(i + 1):
                if j == k:
                    continue
                t = A[k][j] * A[i][k] / A[k][k]
                A[i][j] = round15(A[i][j]) + round15(t)
                if abs(A[i][j]) < zero:
                    A[i][j] = 0.0
                A[j][i] = A[i][j]
    return [[-v for v in r] for r in A]


# --- elimination, factors, inverses ------------------------------------------------

def determinant(a):
    n = len(a)
    w = [list(r) for r in a]
    d = 1.0
    for k in range(n - 1):
        for i in range(k + 1, n):
            f = w[i][k] / w[k][k]
            for j in range(k, n):
                w[i][j] = w[i][j] - f * w[k][j]
        d = d * w[k][k]
    d = d * w[n - 1][n - 1]
    return 0.0 if abs(d) < 1e-11 else d


def cholesky(a):
    n = len(a)
    L = [[0.0] * n for _ in range(n)]
    for j in range(n):
        s = 0.0
        for k in range(j):
            s = s + L[j][k] * L[j][k]
        L[j][j] = math.sqrt(a[j][j] - s)
        for i in range(j + 1, n):
            s = 0.0
            for k in range(j):
                s = s + L[i][k] * L[j][k]
            L[i][j] = (a[i][j] - s) / L[j][j]
    return L


def spd_inverse(a):
    n = len(a)
    u = [list(r) for r in a]
    for j in range(n):  # upper factor U, a = U'U
        s = 0.0
        for k in range(j):
            s = s + u[k][j] * u[k][j]
        u[j][j] = math.sqrt(u[j][j] - s)
        for i in range(j + 1, n):
            s = 0.0
            for k in range(j):
                s = s + u[k][j] * u[k][i]
            u[j][i] = (u[j][i] - s) * (1 / u[j][j])
    t = [[0.0] * n for _ in range(n)]  # T = U^-1
    for j in range(n):
        t[j][j] = 1 / u[j][j]
        for i in range(j):
            s = 0.0
            for k in range(i, j):
                s = s + t[i][k] * u[k][j]
            t[i][j] = s * -t[j][j]
    r = [[0.0] * n for _ in range(n)]  # T T'
    for i in range(n):
        for j in range(i, n):
            s = 0.0
            for k in range(j, n):
                s = s + t[i][k] * t[j][k]
            r[i][j] = r[j][i] = s
    return r


def geninv(m):
    n, p = len(m), len(m[0])
    D = [list(r) for r in m]
    R = [[1.0 if i == j else 0.0 for j in range(n)] for i in range(n)]
    C = [[1.0 if i == j else 0.0 for j in range(p)] for i in range(p)]
    for j in range(1, n):
        for i in range(j, n):
            if D[j - 1][j - 1] == 0:
                break
            f = D[i][j - 1] / D[j - 1][j - 1]
            for c in range(j - 1, p):
                D[i][c] = D[i][c] - f * D[j - 1][c]
            for c in range(n):
                R[i][c] = R[i][c] - f * R[j - 1][c]
    for j in range(1, p):
        for i in range(j, p):
            if D[j - 1][j - 1] == 0:
                break
            f = D[j - 1][i] / D[j - 1][j - 1]
            for r in range(j - 1, n):
                D[r][i] = D[r][i] - f * D[r][j - 1]
            for r in range(p):
                C[r][i] = C[r][i] - f * C[r][j - 1]
    for i in range(n):
        D[i][i] = 1 / D[i][i] if D[i][i] > 1e-20 else 0.0
    return product(product(C, D), R)


def symmetric(rng, n, scale):
    a = [[0.0] * n for _ in range(n)]
    for i in range(n):
        for j in range(i, n):
            a[i][j] = a[j][i] = round(rng.uniform(-0.5, 0.5) * scale, 3)
    return a


def graded(seed):
    """A symmetric matrix whose diagonal spans up to five decades, so that
    off-diagonal elements become negligible beside both diagonal entries.
    Seeds 0 and 291 give results that change if that test began a sweep
    earlier or later than the fifth."""
    rng = random.Random(seed)
    n = rng.choice([4, 5, 6])
    a = symmetric(rng, n, 10)
    for i in range(n):
        a[i][i] = round(a[i][i] * 10 ** rng.randrange(0, 6), 3)
    return a


def dsyev_case(name):
    path = os.path.join(os.path.dirname(__file__), "..", "tests", "data",
                        "eigen_dsyev_reference.csv")
    for line in open(path):
        cells = line.rstrip("\n").split(",")
        if cells[0] == f"dsyev.{name}.in":
            n = int(cells[1])
            return [[float(x) for x in cells[3 + i * n:3 + (i + 1) * n]] for i in range(n)]
    raise KeyError(name)


def main(out):
    rng = random.Random(17)
    cases = {f"random{n}": symmetric(rng, n, 10) for n in (1, 2, 3, 5, 7)}
    cases["tied6"] = [[(3.0 if i == j else 1.0) if i % 2 == j % 2 else 0.0 for j in range(6)]
                      for i in range(6)]
    cases["hilbert6"] = dsyev_case("hilbert6")
    cases["graded5"] = graded(0)
    cases["graded6"] = graded(291)
    for name, a in cases.items():
        d, v = jacobi(a)
        # The eigenvalues' order after the partition sort, as numbers from 1.
        pairs = [(value, k + 1) for k, value in enumerate(d)]
        partition_sort(pairs, lambda pair: pair[0], 0, len(pairs) - 1)
        order = [k for _, k in pairs]
        emit(out, f"jacobi.{name}.in", a)
        emit(out, f"jacobi.{name}.d", d)
        emit(out, f"jacobi.{name}.v", v)
        emit(out, f"jacobi.{name}.order", order)

    rng = random.Random(11)
    sweeps = {}
    for n in (2, 3, 5, 8):
        sweeps[f"spd{n}"] = (gram(uniform_table(rng, n, n, -9, 9, 0), 0.5), 1e-20)
    x = gram(uniform_table(rng, 6, 6, -9, 9, 0), 0.0)
    for i in range(6):  # the last column a copy of the second
        x[i][5] = x[i][1]
    x[5] = list(x[1])
    sweeps["dependent6"] = (x, 1e-9)
    sweeps["spd5zero"] = (sweeps["spd5"][0], 1e-3)
    for n in (3, 5):  # asymmetric, the first pivot zero
        a = uniform_table(rng, n, n, -2, 2)
        for i in range(n):
            a[i][i] += 8
        a[0][0] = 0.0
        sweeps[f"asymmetric{n}"] = (a, 1e-20)
    for name, (a, zero) in sweeps.items():
        emit(out, f"sweep.{name}.in", a)
        emit(out, f"sweep.{name}.zero", [zero])
        emit(out, f"sweep.{name}.out", sweep(a, zero))

    rng = random.Random(9)
    for n in (3, 8):
        a = uniform_table(rng, n, n, -1, 1, 2)
        emit(out, f"det.random{n}.in", a)
        emit(out, f"det.random{n}.out", [determinant(a)])

    rng = random.Random(13)
    for n in (1, 2, 4, 7):
        a = gram(uniform_table(rng, n, n, -9, 9, 0), 1.0)
        emit(out, f"spd{n}", a)
        emit(out, f"chol.spd{n}", cholesky(a))
        emit(out, f"minv.spd{n}", spd_inverse(a))

    rng = random.Random(5)
    for n in (2, 4, 6):
        a = uniform_table(rng, n, n, -10, 10)
        emit(out, f"geninv.random{n}.in", a)
        emit(out, f"geninv.random{n}.out", geninv(a))


if __name__ == "__main__":
    main(sys.stdout)
