#pragma once
// Chart pieces that the analyses and the combined report draw alike, on
// charts the chart classes made.
#include <string>
#include <vector>

#include "orv/excel/Chart.hpp"
#include "orv/frame/frame.hpp"

namespace orv::analysis {

// A named line without markers added to `chart`. A polyline: a viewer may
// smooth every line of a chart once one is.
excel::Series AddLine(const excel::Chart& chart, const std::string& name, const Variant& x,
                      const Variant& y);

// Dresses the scatter of loadings on PC1 (x) and PC2 (y), 1 To p, 1 To 1:
// symmetric axes through the origin, a square plot area, the unit circle,
// guides through the origin and the variables' names beside the ray ends.
void LoadingsFrame(const excel::Chart& chart, const Array<double>& x, const Array<double>& y,
                   const std::vector<std::string>& names);

}  // namespace orv::analysis
