// The tables that the scripts/make_*_reference.py generators write into
// tests/data: one a line, "name,rows,columns," and then the elements row by
// row, each written so that it reads back as the same double.
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
    for (std::string line, name, cell; std::getline(in, line);) {
      std::stringstream s(line);
      std::getline(s, name, ',');
      std::getline(s, cell, ',');
      Table& t = tables_[name];
      t.assign(std::stoul(cell), {});
      std::getline(s, cell, ',');
      for (auto& row : t) {
        row.resize(std::stoul(cell));
        for (double& v : row) {
          std::string text;
          std::getline(s, text, ',');
          v = std::strtod(text.c_str(), nullptr);
        }
      }
    }
  }

  const Table& operator[](const std::string& name) const {
    const auto it = tables_.find(name);
    if (it == tables_.end()) throw std::out_of_range("no reference table " + name);
    return it->second;
  }

  // The <case> parts of the tables named "<kind>.<case>" or "<kind>.<case>.<what>".
  std::vector<std::string> Cases(const std::string& kind) const {
    std::vector<std::string> cases;
    for (const auto& [name, table] : tables_) {
      if (name.rfind(kind + ".", 0) != 0) continue;
      const std::string rest = name.substr(kind.size() + 1);
      const std::string c = rest.substr(0, rest.find('.'));
      if (cases.empty() || cases.back() != c) cases.push_back(c);
    }
    return cases;
  }

 private:
  std::map<std::string, Table> tables_;
};

}  // namespace orv::test
