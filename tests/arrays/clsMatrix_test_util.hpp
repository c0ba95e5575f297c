// Helpers shared by the clsMatrix tests: arrays filled row by row, their
// rows as tables for the exact reference results, and the sources and
// descriptions of the plain failures of clsMatrix members.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <type_traits>

#include "matrix/matrix_test_util.hpp"
#include "orv/arrays/clsMatrix.hpp"
#include "orv_test.hpp"

namespace orv::test {

inline const std::string kCls = "ORVMain.clsMatrix.";  // + the member: a plain failure
inline const char* kOverflow = "Overflow";
inline const char* kMismatch = "Type mismatch";
inline const char* kDivision = "Division by zero";

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

// The rows of a two-dimensional array, and the (1 To rows, 1 To columns)
// array of a table.
inline Table Rows(const Array<double>& a) {
  Table t(static_cast<std::size_t>(a.Count(1)));
  for (std::size_t i = 0; i < t.size(); ++i)
    t[i].assign(a.data() + i * a.Count(2), a.data() + (i + 1) * a.Count(2));
  return t;
}

inline Array<double> FromTable(const Table& t) {
  Array<double> a(1, static_cast<Long>(t.size()), 1, static_cast<Long>(t[0].size()));
  for (std::size_t i = 0; i < t.size(); ++i)
    for (std::size_t j = 0; j < t[0].size(); ++j) a.data()[i * t[0].size() + j] = t[i][j];
  return a;
}

}  // namespace orv::test
