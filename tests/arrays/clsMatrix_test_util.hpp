// Helpers shared by the clsMatrix tests: arrays filled row by row, the
// plain failures of clsMatrix members, and bit-for-bit comparison.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <type_traits>

#include "orv/arrays/clsMatrix.hpp"
#include "orv_test.hpp"

namespace orv::test {

// The error number's own description, raised by clsMatrix.<member>.
inline void ExpectPlain(const Error& e, int number, const std::string& member) {
  EXPECT_EQ(e.Number, number);
  EXPECT_EQ(e.Source, "ORVMain.clsMatrix." + member);
  EXPECT_EQ(e.Description, StandardDescription(number));
}

// A (lb1 To lb1 + rows - 1, lb2 To lb2 + cols - 1) array filled row by row.
template <class T = double>
Array<T> Mat(Long rows, Long cols, std::initializer_list<std::type_identity_t<T>> values,
             Long lb1 = 1, Long lb2 = 1) {
  Array<T> a(lb1, lb1 + rows - 1, lb2, lb2 + cols - 1);
  auto it = values.begin();
  for (T& v : a.storage()) v = *it++;
  return a;
}

// A (lb To lb + n - 1) vector.
inline Array<double> Vec(std::initializer_list<double> values, Long lb = 1) {
  Array<double> a(lb, lb + static_cast<Long>(values.size()) - 1);
  Long i = lb;
  for (double v : values) a(i++) = v;
  return a;
}

inline std::uint64_t Bits(double x) { return std::bit_cast<std::uint64_t>(x); }

// Same rank, size and doubles, bit for bit.
inline void ExpectIdentical(const Array<double>& a, const Array<double>& b) {
  ASSERT_EQ(a.Rank(), b.Rank());
  ASSERT_EQ(a.size(), b.size());
  for (std::size_t k = 0; k < a.size(); ++k)
    ASSERT_EQ(Bits(a.data()[k]), Bits(b.data()[k])) << "element " << k;
}

}  // namespace orv::test
