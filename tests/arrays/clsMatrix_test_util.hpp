// Helpers shared by the clsMatrix tests: arrays filled row by row, their
// rows as tables for the exact reference results, and the sources and
// descriptions of the plain failures of clsMatrix members.
#pragma once

#include <cstddef>
#include <string>

#include "matrix/matrix_test_util.hpp"
#include "orv/arrays/clsMatrix.hpp"
#include "orv_test.hpp"

namespace orv::test {

inline const std::string kCls = "ORVMain.clsMatrix.";  // + the member: a plain failure

// The rows of a two-dimensional array, and the (1 To rows, 1 To columns)
// array of a table.
inline Table Rows(const Array<double>& a) {
  Table t(static_cast<std::size_t>(a.Count(1)));
  for (std::size_t i = 0; i < t.size(); ++i)
    t[i].assign(a.data() + i * a.Count(2), a.data() + (i + 1) * a.Count(2));
  return t;
}

// a holds these rows, the same doubles bit for bit.
inline bool Holds(const Array<double>& a, const Table& rows) { return Identical(Rows(a), rows); }

inline Array<double> FromTable(const Table& t) {
  Array<double> a(1, static_cast<Long>(t.size()), 1, static_cast<Long>(t[0].size()));
  for (std::size_t i = 0; i < t.size(); ++i)
    for (std::size_t j = 0; j < t[0].size(); ++j) a.data()[i * t[0].size() + j] = t[i][j];
  return a;
}

}  // namespace orv::test
