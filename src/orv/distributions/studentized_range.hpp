#pragma once
// The studentized range distribution, computed accurately, for users'
// p-values and critical values (Tukey's and Tukey-Kramer's comparisons).
//
//   double p = 1 - StudentizedRangeCdf(3.5, 3, 147);      // upper tail
//   double q95 = StudentizedRangeQuantile(0.95, 3, 147);  // critical value
//
// This is not ORV_CDF_Q / QDist: those keep their own fixed algorithm,
// which treats more than 120 error degrees of freedom as infinitely many.
// Here, P(Q <= q) for the range of `groups` independent standard normals
// divided by an independent sqrt(chi-square(df) / df) is the double
// integral of Copenhaver and Holland (1988): the probability W(w) that the
// range of `groups` normals is below w, integrated against the density of
// the studentizing scale, each by composite Gauss-Legendre quadrature.
// Agrees with R's ptukey to 1e-9 absolute for 2 to 100 groups and 2 to
// infinitely many degrees of freedom (tests/data/ptukey_reference.csv).
//
// df may be +infinity. Invalid arguments (groups < 2, df < 1, p outside
// (0, 1), NaN) raise error 5 with a description that names the argument.
namespace orv {

// P(Q <= q); 0 for q <= 0.
double StudentizedRangeCdf(double q, double groups, double df);
// The q with P(Q <= q) = p, to about 1e-10 relative.
double StudentizedRangeQuantile(double p, double groups, double df);

}  // namespace orv
