// CDescriptives: descriptive statistics of a data matrix, cached.
#include "orv/arrays/CDescriptives.hpp"

namespace orv {

struct CDescriptives::State {
  CMatrix data{Nothing};
  CMatrix counts{Nothing};
};

CDescriptives::CDescriptives() = default;
CDescriptives::CDescriptives(NothingType) : state_(Nothing) {}

void CDescriptives::SetData(const CMatrix& Data) {
  State& s = *state_;
  s.data = Data;
  s.counts = CMatrix(Nothing);
}

CMatrix CDescriptives::Counts() const {
  State& s = *state_;
  // No data yet counts as an empty matrix.
  if (s.data.IsNothing() || s.data.IsNull()) Raise(kErrInvalidNull);
  if (s.counts.IsNothing()) s.counts = CMatrix();
  if (s.counts.IsNull()) {
    s.counts.SetSize(s.data.ColumnCount(), 1, false);
    s.counts.Fill(static_cast<double>(s.data.RowCount()));
  }
  return s.counts;
}

}  // namespace orv
