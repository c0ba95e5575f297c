#pragma once
// The upper tail of the F distribution, the p-value of an F test, as the
// analysis layer computes it.

namespace orv::report {

// P(F >= f) for an F variable with df1 and df2 degrees of freedom; 1 for
// f <= 0. df1 and df2 must be positive.
double FisherFUpperTail(double f, double df1, double df2);

}  // namespace orv::report
