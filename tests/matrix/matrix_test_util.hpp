// Helpers shared by the CMatrix tests: building a matrix from rows, reading
// its elements back, comparing tables bit for bit, and the exact reference
// results written by scripts/make_*_reference.py.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <type_traits>
#include <vector>

#include "orv/matrix/CMatrix.hpp"
#include "orv_test.hpp"
#include "reference_data.hpp"

namespace orv::test {

inline const std::string kSubscript = "Subscript out of range";
inline const char* kOverflow = "Overflow";
inline const char* kMismatch = "Type mismatch";
inline const char* kDivision = "Division by zero";
inline const char* kInvalid = "Invalid procedure call or argument";
inline const char* kNull = "Invalid use of Null";

// Where the plain rule (In) and the stamp and chain rules (At) place a
// failure of <type>.<member>.
inline std::string In(const std::string& member, const std::string& type = "CMatrix") {
  return "ORVMain." + type + "." + member;
}
inline std::string At(int line, const std::string& member, const std::string& type = "CMatrix") {
  return "Line " + std::to_string(line) + " in " + In(member, type);
}

inline const Reference& Linalg() {
  static const Reference r("linalg_reference.csv");
  return r;
}
inline const Reference& Sorts() {
  static const Reference r("sort_reference.csv");
  return r;
}
inline const Reference& Stats() {
  static const Reference r("stats_reference.csv");
  return r;
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

// The matrix with these rows (a new, null matrix when there are none).
inline CMatrix Make(const Table& rows) {
  CMatrix m;
  if (rows.empty()) return m;
  Array<double> a(1, static_cast<Long>(rows.size()), 1, static_cast<Long>(rows[0].size()));
  for (std::size_t i = 0; i < rows.size(); ++i)
    for (std::size_t j = 0; j < rows[0].size(); ++j)
      a(static_cast<Long>(i + 1), static_cast<Long>(j + 1)) = rows[i][j];
  m.LetValues(a);
  return m;
}

inline CMatrix M(std::initializer_list<std::initializer_list<double>> rows) {
  return Make(Table(rows.begin(), rows.end()));
}

// The rows of m.
inline Table Elements(const CMatrix& m) {
  Table t(static_cast<std::size_t>(m.RowCount()),
          std::vector<double>(static_cast<std::size_t>(m.ColumnCount())));
  for (Long i = 1; i <= m.RowCount(); ++i)
    for (Long j = 1; j <= m.ColumnCount(); ++j) t[i - 1][j - 1] = m.Item(i, j);
  return t;
}

// Same doubles, bit for bit (so -0 differs from 0 and NaN equals NaN).
inline bool Identical(const Table& a, const Table& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i].size() != b[i].size()) return false;
    for (std::size_t j = 0; j < a[i].size(); ++j)
      if (std::bit_cast<std::uint64_t>(a[i][j]) != std::bit_cast<std::uint64_t>(b[i][j]))
        return false;
  }
  return true;
}

// m holds these rows, the same doubles bit for bit.
inline bool Holds(const CMatrix& m, const Table& rows) { return Identical(Elements(m), rows); }

// Rows ascending on column 0 whose last column holds each row number 1..rows once.
inline void ExpectSortedPermutation(const Table& sorted, std::size_t rows) {
  ASSERT_EQ(sorted.size(), rows);
  std::vector<bool> seen(rows + 1, false);
  for (std::size_t i = 0; i < rows; ++i) {
    if (i > 0) {
      ASSERT_LE(sorted[i - 1][0], sorted[i][0]) << i;
    }
    seen[static_cast<std::size_t>(sorted[i].back())] = true;
  }
  EXPECT_EQ(std::count(seen.begin() + 1, seen.end(), true), static_cast<long>(rows));
}

}  // namespace orv::test
