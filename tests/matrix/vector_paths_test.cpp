// Every vector path of the numeric kernels against the library's own scalar
// path, bit for bit, over shapes around each vector width and block size and
// over inputs chosen to break a careless vectorisation: ties at the 15th
// digit, the edges of the fast rounding range, subnormals, huge and tiny
// magnitudes, infinities and NaN.
#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "orv/frame/digits15.hpp"
#include "orv/frame/simd.hpp"
#include "orv/matrix/cholesky.hpp"
#include "orv/matrix/jacobi.hpp"
#include "orv/matrix/multiply.hpp"
#include "orv/matrix/sweep.hpp"
#include "orv_test.hpp"

namespace orv::test {
namespace {

using std::size_t;

// The sets this machine runs that are wider than the scalar path.
std::vector<InstructionSet> VectorSets() {
  std::vector<InstructionSet> sets;
  for (InstructionSet s : {InstructionSet::Avx2, InstructionSet::Avx512})
    if (Supports(s)) sets.push_back(s);
  return sets;
}

// Bit for bit, except that any NaN equals any NaN: which operand's payload a
// NaN carries depends on the order the compiler gives a commutative operation,
// and every kernel reports a NaN result as a failure, never as a value.
bool SameBits(const std::vector<double>& a, const std::vector<double>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::bit_cast<std::uint64_t>(a[i]) != std::bit_cast<std::uint64_t>(b[i]) &&
        !(std::isnan(a[i]) && std::isnan(b[i])))
      return false;
  return true;
}

// Values whose 15-digit rounding is delicate, both signs.
std::vector<double> Adversarial(std::mt19937_64& rng) {
  std::vector<double> v = {0.0, DBL_MIN, DBL_MAX, DBL_TRUE_MIN, 4e-320, kInf, kNaN, 1e-300, 1e300};
  // Exact ties at the 15th digit: i + j 2^-15 (i < 10) and i + j 2^-14 (i < 100), j odd,
  // have 16 significant digits ending in 5; and their neighbours.
  for (int n = 0; n < 200; ++n) {
    const double j = static_cast<double>(2 * (rng() % 16384) + 1);
    const double tie = n % 2 ? static_cast<double>(1 + rng() % 9) + j * 0x1p-15
                             : static_cast<double>(10 + rng() % 90) + j * 0x1p-14;
    v.insert(v.end(), {tie, std::nextafter(tie, 0.0), std::nextafter(tie, kInf)});
  }
  // Powers of ten from 1e-10 to 1e17 and their neighbours: the binade thresholds
  // and the edges of the fast range.
  for (int e = -10; e <= 17; ++e) {
    const double p = std::pow(10.0, e);
    v.insert(v.end(), {p, std::nextafter(p, 0.0), std::nextafter(p, kInf)});
  }
  // Random bit patterns (every exponent) and random values of every magnitude.
  std::uniform_real_distribution<double> exponent(-12, 18), digits(1, 10);
  for (int n = 0; n < 400; ++n) {
    v.push_back(std::bit_cast<double>(rng()));
    v.push_back(digits(rng) * std::pow(10.0, std::floor(exponent(rng))));
  }
  const size_t count = v.size();
  for (size_t i = 0; i < count; ++i) v.push_back(-v[i]);
  std::shuffle(v.begin(), v.end(), rng);
  return v;
}

TEST(VectorPaths, Round15ManyMatchesRound15AtEveryLengthAndOffset) {
  std::mt19937_64 rng(15);
  const std::vector<double> values = Adversarial(rng);
  std::vector<double> want(values.size());
  for (size_t i = 0; i < values.size(); ++i) want[i] = Round15(values[i]);
  for (InstructionSet set : VectorSets()) {
    for (size_t offset : {0, 1, 3}) {
      for (size_t length : {0, 1, 3, 4, 5, 7, 8, 9, 15, 16, 17, 33}) {
        for (size_t start = offset; start + length <= values.size(); start += 61) {
          std::vector<double> out(length);
          digits15_detail::Round15ManyVia(values.data() + start, out.data(), length, set);
          const std::vector<double> expected(want.begin() + start, want.begin() + start + length);
          ASSERT_TRUE(SameBits(out, expected)) << Name(set) << " at " << start << "+" << length;
        }
      }
    }
    // In place, over everything at once.
    std::vector<double> inplace = values;
    digits15_detail::Round15ManyVia(inplace.data(), inplace.data(), inplace.size(), set);
    EXPECT_TRUE(SameBits(inplace, want)) << Name(set);
  }
}

TEST(VectorPaths, CrossProductTermsMatchTheScalarPath) {
  std::mt19937_64 rng(20);
  const std::vector<double> values = Adversarial(rng);  // NaN, inf, subnormals among them
  std::uniform_real_distribution<double> u(-1e3, 1e3);
  for (size_t length : {1, 7, 8, 9, 20, 31, 32, 33, 70}) {
    for (size_t count : {1, 5, 100}) {
      for (bool awkward : {false, true}) {
        const size_t ld = length + 3;
        std::vector<double> x(count * ld), y(count * 2), start(length);
        for (std::vector<double>* v : {&x, &y, &start})
          for (double& e : *v) e = awkward ? values[rng() % values.size()] : u(rng);
        std::vector<double> want = start;
        kernels::AddScaledProducts(want.data(), length, x.data(), ld, y.data(), 2, count, 7.0,
                                   InstructionSet::Sse2);
        for (InstructionSet set : VectorSets()) {
          std::vector<double> got = start;
          kernels::AddScaledProducts(got.data(), length, x.data(), ld, y.data(), 2, count, 7.0,
                                     set);
          EXPECT_TRUE(SameBits(got, want)) << Name(set) << " " << length << " x " << count;
        }
      }
    }
  }
}

// Symmetric test matrices, row-major n x n, by kind.
enum class Kind { Spd, Singular, Awkward, WithNaN, Overflowing };

std::vector<double> Symmetric(size_t n, Kind kind, std::mt19937_64& rng) {
  std::uniform_real_distribution<double> u(-1, 1);
  std::vector<double> x(n * n), a(n * n);
  for (double& v : x) v = u(rng);
  if (kind == Kind::Singular && n > 1)  // column 0 repeated: a dependent variable
    for (size_t k = 0; k < n; ++k) x[k * n + n - 1] = x[k * n];
  for (size_t i = 0; i < n; ++i)
    for (size_t j = 0; j < n; ++j) {
      double s = 0;
      for (size_t k = 0; k < n; ++k) s = s + x[k * n + i] * x[k * n + j];
      a[i * n + j] = s + (i == j && kind != Kind::Singular ? 0.5 : 0.0);
    }
  if (kind == Kind::Awkward)  // magnitudes from 1e-12 to 1e12 by variable
    for (size_t i = 0; i < n; ++i)
      for (size_t j = 0; j < n; ++j) a[i * n + j] *= std::pow(10.0, double(i % 5 + j % 5) * 3 - 12);
  if (kind == Kind::WithNaN) a[(n / 2) * n + n / 3] = a[(n / 3) * n + n / 2] = kNaN;
  if (kind == Kind::Overflowing) a[n * n - 1] = 1e-300;
  return a;
}

constexpr Kind kKinds[] = {Kind::Spd, Kind::Singular, Kind::Awkward, Kind::WithNaN,
                           Kind::Overflowing};

// What a kernel left (all its outputs, one after another) and what it raised.
struct Outcome {
  std::vector<double> values;
  Failure failure;
};

// For every size and kind of matrix, each vector path's outcome is the
// scalar path's: the same failure, or the same doubles.
template <class Run>  // Outcome(std::vector<double> a, size_t n, InstructionSet)
void ExpectPathsAgree(std::initializer_list<size_t> sizes, unsigned seed, Run run) {
  std::mt19937_64 rng(seed);
  for (size_t n : sizes) {
    for (Kind kind : kKinds) {
      const std::vector<double> a = Symmetric(n, kind, rng);
      const Outcome want = run(a, n, InstructionSet::Sse2);
      for (InstructionSet set : VectorSets()) {
        const Outcome got = run(a, n, set);
        EXPECT_EQ(got.failure, want.failure) << Name(set) << " n=" << n << " kind " << int(kind);
        if (want.failure.number == 0) {
          EXPECT_TRUE(SameBits(got.values, want.values))
              << Name(set) << " n=" << n << " kind " << int(kind);
        }
      }
    }
  }
}

constexpr std::initializer_list<size_t> kSizes = {1,  2,  3,  4,  5,  7,  8, 9,
                                                  15, 16, 17, 31, 33, 64, 65};

TEST(VectorPaths, SweepMatchesTheScalarPath) {
  ExpectPathsAgree(kSizes, 19, [](std::vector<double> a, size_t n, InstructionSet set) {
    const Failure failure = Fails([&] { kernels::Sweep(a.data(), Long(n), n, 1e-20, set); });
    return Outcome{a, failure};
  });
}

TEST(VectorPaths, CholeskyMatchesTheScalarPath) {
  // Around the factor's column groups (8) and blocks (64) too.
  ExpectPathsAgree({1, 2, 7, 8, 9, 17, 63, 64, 65, 72, 129, 200}, 500,
                   [](const std::vector<double>& a, size_t n, InstructionSet set) {
                     std::vector<double> L(n * n);
                     const Failure failure = Fails(
                         [&] { kernels::CholeskyFactor(a.data(), n, n, 1e-13, L.data(), set); });
                     return Outcome{L, failure};
                   });
}

TEST(VectorPaths, JacobiMatchesTheScalarPath) {
  for (kernels::NanRule rule : {kernels::NanRule::Rotate, kernels::NanRule::Skip}) {
    ExpectPathsAgree(kSizes, 24, [&](std::vector<double> a, size_t n, InstructionSet set) {
      std::vector<double> d(n), v(n * n);
      const Failure failure =
          Fails([&] { kernels::Jacobi(a.data(), Long(n), n, d.data(), v.data(), rule, set); });
      a.insert(a.end(), d.begin(), d.end());
      a.insert(a.end(), v.begin(), v.end());
      return Outcome{a, failure};
    });
  }
}

}  // namespace
}  // namespace orv::test
