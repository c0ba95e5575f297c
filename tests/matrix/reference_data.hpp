// The tables that the scripts/make_*_reference.py generators (and
// scripts/eigen_reference.cpp) write into tests/data: one a line,
// "name,rows,columns," and then the elements row by row, each written so
// that it reads back as the same double.
#pragma once

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace orv::test {

using Table = std::vector<std::vector<double>>;  // rows of a matrix, 0-based

class Reference {
 public:
  explicit Reference(const std::string& file) {
    std::ifstream in(std::string(ORV_TEST_DATA_DIR) + "/" + file);
    if (!in) throw std::runtime_error("cannot read " + file);
    for (std::string line, name, rows, columns, cell; std::getline(in, line);) {
      std::stringstream s(line);
      std::getline(std::getline(std::getline(s, name, ','), rows, ','), columns, ',');
      Table& t = tables_[name];
      t.assign(std::stoul(rows), std::vector<double>(std::stoul(columns)));
      for (auto& row : t)
        for (double& v : row)
          v = std::strtod(std::getline(s, cell, ',') ? cell.c_str() : "", nullptr);
    }
  }

  const Table& operator[](const std::string& name) const { return tables_.at(name); }

  // The <case> parts of the tables named "<kind>.<case>" or "<kind>.<case>.<what>".
  std::vector<std::string> Cases(const std::string& kind) const {
    std::vector<std::string> cases;
    for (auto it = tables_.lower_bound(kind + "."); it != tables_.end(); ++it) {
      if (it->first.rfind(kind + ".", 0) != 0) break;
      const std::string rest = it->first.substr(kind.size() + 1);
      const std::string c = rest.substr(0, rest.find('.'));
      if (cases.empty() || cases.back() != c) cases.push_back(c);
    }
    return cases;
  }

 private:
  std::map<std::string, Table> tables_;
};

}  // namespace orv::test
