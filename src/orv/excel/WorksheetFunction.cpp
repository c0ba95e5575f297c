#include "orv/excel/WorksheetFunction.hpp"
#include "orv/excel/internal/detail.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "orv/excel/internal/BlockStats.hpp"
#include "orv/excel/errors.hpp"
#include "orv/frame/convert.hpp"

namespace orv::excel {

// --- arguments ---

FunctionArg::FunctionArg(const Variant& value) : arg_(&value) {
  Range range = Range::FromVariant(value);
  if (!range.IsNothing()) arg_ = range;
}

const Range* FunctionArg::range() const {
  if (auto p = std::get_if<const Range*>(&arg_)) return *p;
  if (auto p = std::get_if<Range>(&arg_)) return p;
  return nullptr;
}

const Variant* FunctionArg::value() const {
  if (auto p = std::get_if<const Variant*>(&arg_)) return *p;
  if (auto p = std::get_if<Variant>(&arg_)) return p;
  return nullptr;
}

namespace {

// What one value contributes.
enum class Kind { Number, Text, Boolean, Error, Empty, BadText };

[[noreturn]] void Fail(const char* name) { RaiseUnableToGet(name, "WorksheetFunction"); }

Kind KindOf(CellType type) {
  switch (type) {
    case CellType::Number:
    case CellType::Date:
      return Kind::Number;
    case CellType::Text:
      return Kind::Text;
    case CellType::Boolean:
      return Kind::Boolean;
    case CellType::Error:
      return Kind::Error;
    case CellType::Empty:
      return Kind::Empty;
  }
  return Kind::Empty;
}

// An element of an array argument: numbers count, texts and Booleans are
// skipped, an element that is itself an array or an object is #VALUE!.
void ClassifyElement(const Variant& v, Kind& kind, double& x) {
  x = 0;
  switch (v.Type()) {
    case VarType::Empty:
    case VarType::Null:
      kind = Kind::Empty;
      return;
    case VarType::String:
      kind = Kind::Text;
      return;
    case VarType::Boolean:
      kind = Kind::Boolean;
      x = v.AsBoolean() ? 1 : 0;
      return;
    case VarType::Error:
      kind = Kind::Error;
      x = v.AsError().code;
      return;
    case VarType::Object:
    case VarType::Array:
      kind = Kind::Error;
      x = xlErrValue;
      return;
    default:
      kind = Kind::Number;
      x = CDbl(v);
      return;
  }
}

// A value passed directly: converted as far as it goes.
void ClassifyDirect(const Variant& v, Kind& kind, double& x) {
  x = 0;
  switch (v.Type()) {
    case VarType::Empty:
      kind = Kind::Number;
      return;
    case VarType::Boolean:
      kind = Kind::Number;
      x = v.AsBoolean() ? 1 : 0;
      return;
    case VarType::String: {
      std::optional<double> number;
      try {
        number = ParseNumber(v.AsString());
      } catch (const Error&) {
      }
      if (number) {
        kind = Kind::Number;
        x = *number;
      } else {
        kind = Kind::BadText;
      }
      return;
    }
    case VarType::Error:
      kind = Kind::Error;
      x = v.AsError().code;
      return;
    case VarType::Null:
    case VarType::Object:
      kind = Kind::BadText;
      return;
    default:
      kind = Kind::Number;
      x = CDbl(v);
      return;
  }
}

// Calls f(kind, x) for every value of every argument, in order (blank cells
// of ranges left out: nothing here counts them); a stretch of cells that
// all hold numbers goes to run(values, count) instead.
template <class Run, class F>
void ForEachRun(std::initializer_list<FunctionArg> args, Run&& run, F&& f) {
  for (const FunctionArg& arg : args) {
    if (const Range* range = arg.range()) {
      if (!internal::StateOf(*range)) Raise(kErrObjectNotSet);
      const RangeState& s = *internal::StateOf(*range);
      for (const Rect& area : s.areas)
        s.sheet->cells.VisitRunsPresent(area, run,
                                        [&](CellType type, double x) { f(KindOf(type), x); });
      continue;
    }
    const Variant& v = *arg.value();
    if (!v.IsArray()) {
      Kind kind;
      double x;
      ClassifyDirect(v, kind, x);
      f(kind, x);
      continue;
    }
    std::visit(
        [&](const auto& a) {
          using T = typename std::decay_t<decltype(a)>::value_type;
          const T* data = a.data();
          for (std::size_t i = 0; i < a.size(); ++i) {
            if constexpr (std::is_same_v<T, std::string>) {
              f(Kind::Text, 0.0);
            } else if constexpr (std::is_same_v<T, Variant>) {
              Kind kind;
              double x;
              ClassifyElement(data[i], kind, x);
              f(kind, x);
            } else {
              f(Kind::Number, static_cast<double>(data[i]));
            }
          }
        },
        v.AsArray());
  }
}

// Calls f(kind, x) for every value of every argument, in order.
template <class F>
void ForEach(std::initializer_list<FunctionArg> args, F&& f) {
  ForEachRun(
      args,
      [&](const double* values, std::int32_t count) {
        for (std::int32_t i = 0; i < count; ++i) f(Kind::Number, values[i]);
      },
      f);
}

// The sheet and block of a lone argument that is a range of one area, or
// nothing: what the sheet's block statistics answer.
struct LoneBlock {
  WorksheetState* sheet = nullptr;
  const Rect* block = nullptr;
  explicit operator bool() const { return sheet != nullptr; }
};

LoneBlock LoneBlockOf(std::initializer_list<FunctionArg> args) {
  if (args.size() != 1) return {};
  const Range* range = args.begin()->range();
  if (range == nullptr || !internal::StateOf(*range)) return {};
  const RangeState& s = *internal::StateOf(*range);
  if (s.areas.size() != 1) return {};
  return LoneBlock{s.sheet.get(), &s.areas.front()};
}

// The block sums of a lone one-area range argument (worked out now when
// not kept), or null.
const BlockSums* SumsOf(std::initializer_list<FunctionArg> args) {
  if (LoneBlock b = LoneBlockOf(args)) return &b.sheet->stats.Of(b.sheet->cells, *b.block);
  return nullptr;
}

// ss continued by the squared deviations (values[i] - mean)^2, in order.
// Kept out of line so that the sum stays in a register through the loop.
[[gnu::noinline]] double AddSquaredDeviations(const double* values, std::int32_t count, double mean,
                                              double ss) {
  for (std::int32_t i = 0; i < count; ++i) {
    const double d = values[i] - mean;
    ss += d * d;
  }
  return ss;
}

// Sums of the numbers (failing on an error value or bad direct text).
struct Moments {
  double count = 0, sum = 0;
};

Moments SumOf(std::initializer_list<FunctionArg> args, const char* name) {
  if (const BlockSums* sums = SumsOf(args)) {
    if (sums->error) Fail(name);
    return Moments{sums->count, sums->sum};
  }
  Moments m;
  bool failed = false;
  ForEachRun(
      args,
      [&](const double* values, std::int32_t count) {
        double sum = m.sum;
        for (std::int32_t i = 0; i < count; ++i) sum += values[i];
        m.sum = sum;
        m.count += count;  // whole numbers far below 2^53: exact
      },
      [&](Kind kind, double x) {
        if (kind == Kind::Number) {
          m.count += 1;
          m.sum += x;
        } else if (kind == Kind::Error || kind == Kind::BadText) {
          failed = true;
        }
      });
  if (failed) Fail(name);
  return m;
}

}  // namespace

double WorksheetFunction::Count(std::initializer_list<FunctionArg> args) const {
  (void)*application_;
  if (LoneBlock b = LoneBlockOf(args))
    if (const BlockSums* kept = b.sheet->stats.Kept(b.sheet->cells, *b.block)) return kept->count;
  std::int64_t n = 0;
  ForEachRun(
      args, [&](const double*, std::int32_t count) { n += count; },
      [&](Kind kind, double) { n += kind == Kind::Number ? 1 : 0; });
  return static_cast<double>(n);
}

double WorksheetFunction::CountA(std::initializer_list<FunctionArg> args) const {
  (void)*application_;
  std::int64_t n = 0;
  ForEachRun(
      args, [&](const double*, std::int32_t count) { n += count; },
      [&](Kind kind, double) { n += kind == Kind::Empty ? 0 : 1; });
  return static_cast<double>(n);
}

double WorksheetFunction::Sum(std::initializer_list<FunctionArg> args) const {
  (void)*application_;
  return SumOf(args, "Sum").sum;
}

double WorksheetFunction::SumSq(std::initializer_list<FunctionArg> args) const {
  (void)*application_;
  if (const BlockSums* sums = SumsOf(args)) {
    if (sums->error || !std::isfinite(sums->sum_squares)) Fail("SumSq");
    return sums->sum_squares;
  }
  double s = 0;
  bool failed = false;
  ForEachRun(
      args,
      [&](const double* values, std::int32_t count) {
        double sum = s;
        for (std::int32_t i = 0; i < count; ++i) sum += values[i] * values[i];
        s = sum;
      },
      [&](Kind kind, double x) {
        if (kind == Kind::Number)
          s += x * x;
        else if (kind == Kind::Error || kind == Kind::BadText)
          failed = true;
      });
  if (failed || !std::isfinite(s)) Fail("SumSq");
  return s;
}

double WorksheetFunction::Average(std::initializer_list<FunctionArg> args) const {
  (void)*application_;
  Moments m = SumOf(args, "Average");
  if (m.count == 0) Fail("Average");
  return m.sum / m.count;
}

double WorksheetFunction::Var(std::initializer_list<FunctionArg> args) const {
  (void)*application_;
  Moments m = SumOf(args, "Var");
  if (m.count < 2) Fail("Var");
  double mean = m.sum / m.count;
  double ss = 0;
  ForEachRun(
      args,
      [&](const double* values, std::int32_t count) {
        ss = AddSquaredDeviations(values, count, mean, ss);
      },
      [&](Kind kind, double x) {
        if (kind == Kind::Number) {
          double d = x - mean;
          ss += d * d;
        }
      });
  double v = ss / (m.count - 1);
  if (!std::isfinite(v)) Fail("Var");
  return v;
}

double WorksheetFunction::Min(std::initializer_list<FunctionArg> args) const {
  (void)*application_;
  if (const BlockSums* kept = SumsOf(args)) {
    if (kept->error) Fail("Min");
    return kept->count > 0 ? kept->min : 0;
  }
  double best = std::numeric_limits<double>::infinity();
  bool any = false, failed = false;
  ForEachRun(
      args,
      [&](const double* values, std::int32_t count) {
        if (count <= 0) return;
        any = true;
        best = Extreme<true>(values, count, best);
      },
      [&](Kind kind, double x) {
        if (kind == Kind::Number) {
          any = true;
          if (x < best) best = x;
        } else if (kind == Kind::Error || kind == Kind::BadText) {
          failed = true;
        }
      });
  if (failed) Fail("Min");
  return any ? best : 0;
}

double WorksheetFunction::Max(std::initializer_list<FunctionArg> args) const {
  (void)*application_;
  if (const BlockSums* kept = SumsOf(args)) {
    if (kept->error) Fail("Max");
    return kept->count > 0 ? kept->max : 0;
  }
  double best = -std::numeric_limits<double>::infinity();
  bool any = false, failed = false;
  ForEachRun(
      args,
      [&](const double* values, std::int32_t count) {
        if (count <= 0) return;
        any = true;
        best = Extreme<false>(values, count, best);
      },
      [&](Kind kind, double x) {
        if (kind == Kind::Number) {
          any = true;
          if (x > best) best = x;
        } else if (kind == Kind::Error || kind == Kind::BadText) {
          failed = true;
        }
      });
  if (failed) Fail("Max");
  return any ? best : 0;
}

namespace {

// s continued by the products first[i] * second[i], in order. Kept out of
// line so that the sum stays in a register through the loop.
[[gnu::noinline]] double AddProducts(const double* first, const double* second, std::size_t n,
                                     double s) {
  for (std::size_t i = 0; i < n; ++i) s += first[i] * second[i];
  return s;
}

// SumProduct of ranges of one area each, all of the first one's shape:
// read a slice of rows of every range at a time into small buffers, so
// that nothing of the size of the ranges is copied. The products and the
// sum go in the order of the general case.
bool SumProductOfRanges(std::initializer_list<FunctionArg> args, double& result) {
  if (args.size() == 0) return false;
  std::vector<const RangeState*> states;
  for (const FunctionArg& arg : args) {
    const Range* range = arg.range();
    if (range == nullptr || !internal::StateOf(*range)) return false;
    const RangeState& s = *internal::StateOf(*range);
    if (s.areas.size() != 1) return false;
    if (!states.empty()) {
      const Rect& a = states.front()->areas.front();
      const Rect& b = s.areas.front();
      if (a.Rows() != b.Rows() || a.Columns() != b.Columns()) return false;
    }
    states.push_back(&s);
  }
  const Rect& shape = states.front()->areas.front();
  // Two ranges: the sum may be kept on the first one's sheet.
  BlockStats& kept = states.front()->sheet->stats;
  const bool pair = states.size() == 2;
  const CellStore& first_cells = states[0]->sheet->cells;
  const CellStore& second_cells = states.back()->sheet->cells;
  const Rect& second = states.back()->areas.front();
  auto give = [&](const BlockStats::Product& p) {
    if (p.error || !std::isfinite(p.sum)) Fail("SumProduct");
    result = p.sum;
    return true;
  };
  auto answer = [&](const BlockStats::Product& p) {
    if (pair) kept.KeepProduct(first_cells, shape, second_cells, second, p);
    return give(p);
  };
  if (pair)
    if (auto p = kept.KeptProduct(first_cells, shape, second_cells, second)) return give(*p);
  if (pair && shape.Columns() == 1) {
    // Two columns: straight from the cell storage, stretch by stretch.
    double sum = 0;
    bool error = false;
    CellStore::VisitRunPairs(
        first_cells, shape, second_cells, second,
        [&](const double* a, const double* b, std::int32_t n) {
          sum = AddProducts(a, b, static_cast<std::size_t>(n), sum);
        },
        [&](CellType type_a, double a, CellType type_b, double b) {
          error = error || type_a == CellType::Error || type_b == CellType::Error;
          const double x = KindOf(type_a) == Kind::Number ? a : 0.0;
          const double y = KindOf(type_b) == Kind::Number ? b : 0.0;
          sum += x * y;
        });
    return answer(BlockStats::Product{sum, error});
  }
  const std::int32_t columns = shape.Columns();
  const std::int32_t slice = std::max<std::int32_t>(1, 4096 / columns);
  std::vector<std::vector<double>> buffers(
      states.size(), std::vector<double>(static_cast<std::size_t>(slice) * columns));
  bool failed = false;
  double s = 0;
  for (std::int32_t offset = 0; offset < shape.Rows(); offset += slice) {
    const std::int32_t rows = std::min(slice, shape.Rows() - offset);
    for (std::size_t k = 0; k < states.size(); ++k) {
      const Rect& area = states[k]->areas.front();
      double* out = buffers[k].data();
      states[k]->sheet->cells.VisitRuns(
          Rect{area.top + offset, area.left, area.top + offset + rows - 1, area.right},
          [&](const double* values, std::int32_t count) {
            std::copy(values, values + count, out);
            out += count;
          },
          [&](CellType type, double x) {
            const Kind kind = KindOf(type);
            if (kind == Kind::Error) failed = true;
            *out++ = kind == Kind::Number ? x : 0.0;
          });
    }
    if (failed) break;
    const std::size_t n = static_cast<std::size_t>(rows) * columns;
    const double* first = buffers.front().data();
    if (buffers.size() == 2) {
      s = AddProducts(first, buffers[1].data(), n, s);
    } else {
      for (std::size_t i = 0; i < n; ++i) {
        double product = first[i];
        for (std::size_t k = 1; k < buffers.size(); ++k) product *= buffers[k][i];
        s += product;
      }
    }
  }
  return answer(BlockStats::Product{s, failed});
}

}  // namespace

double WorksheetFunction::SumProduct(std::initializer_list<FunctionArg> args) const {
  (void)*application_;
  if (double s; SumProductOfRanges(args, s)) return s;
  struct Block {
    std::int64_t rows = 1, columns = 1;
    std::vector<double> values;
  };
  std::vector<Block> blocks;
  for (const FunctionArg& arg : args) {
    Block b;
    bool failed = false;
    auto take = [&](Kind kind, double x) {
      if (kind == Kind::Error) failed = true;
      b.values.push_back(kind == Kind::Number ? x : 0.0);
    };
    if (const Range* range = arg.range()) {
      if (!internal::StateOf(*range)) Raise(kErrObjectNotSet);
      const RangeState& s = *internal::StateOf(*range);
      if (s.areas.size() != 1) Fail("SumProduct");
      const Rect& area = s.areas.front();
      b.rows = area.Rows();
      b.columns = area.Columns();
      b.values.reserve(static_cast<std::size_t>(area.Cells()));
      s.sheet->cells.VisitRows(area, [&](CellType type, double x) { take(KindOf(type), x); });
    } else {
      const Variant& v = *arg.value();
      if (v.IsArray()) {
        int rank = v.Rank();
        if (rank == 0) Fail("SumProduct");
        b.rows = rank == 2 ? v.UBound(1) - v.LBound(1) + 1 : 1;
        b.columns = rank == 2 ? v.UBound(2) - v.LBound(2) + 1 : v.UBound(1) - v.LBound(1) + 1;
        ForEach({FunctionArg(v)}, take);
      } else {
        Kind kind;
        double x;
        ClassifyElement(v, kind, x);
        take(kind, x);
      }
    }
    if (failed) Fail("SumProduct");
    if (!blocks.empty() && (b.rows != blocks.front().rows || b.columns != blocks.front().columns))
      Fail("SumProduct");
    blocks.push_back(std::move(b));
  }
  if (blocks.empty()) Fail("SumProduct");
  double s = 0;
  const std::size_t n = blocks.front().values.size();
  for (std::size_t i = 0; i < n; ++i) {
    double product = blocks.front().values[i];
    for (std::size_t k = 1; k < blocks.size(); ++k) product *= blocks[k].values[i];
    s += product;
  }
  if (!std::isfinite(s)) Fail("SumProduct");
  return s;
}

namespace {

// A scalar argument as a number: a single cell counts as its value.
double ScalarOf(const FunctionArg& arg, const char* name) {
  Variant v;
  if (const Range* range = arg.range()) {
    if (range->CountLarge() != 1 || range->AreaBlocks().size() != 1) Fail(name);
    v = range->Value();
  } else {
    v = *arg.value();
  }
  if (v.IsArray()) Fail(name);
  Kind kind;
  double x;
  ClassifyDirect(v, kind, x);
  if (kind != Kind::Number) Fail(name);
  return x;
}

}  // namespace

double WorksheetFunction::NormSDist(const FunctionArg& z) const {
  (void)*application_;
  return StandardNormalCdf(ScalarOf(z, "NormSDist"));
}

double WorksheetFunction::TInv(const FunctionArg& p, const FunctionArg& df) const {
  (void)*application_;
  double probability = ScalarOf(p, "TInv");
  double freedom = std::trunc(ScalarOf(df, "TInv"));
  if (!(probability > 0 && probability <= 1) || !(freedom >= 1 && freedom <= 1e10)) Fail("TInv");
  return InverseStudentT2(probability, freedom);
}

Variant WorksheetFunction::Transpose(const FunctionArg& array) const {
  (void)*application_;
  Variant source;
  if (const Range* range = array.range())
    source = range->Value();
  else
    source = *array.value();
  if (!source.IsArray()) return source;
  const int rank = source.Rank();
  if (rank == 0) Fail("Transpose");
  const std::int32_t rows = rank == 2 ? source.UBound(1) - source.LBound(1) + 1 : 1;
  const std::int32_t columns =
      rank == 2 ? source.UBound(2) - source.LBound(2) + 1 : source.UBound(1) - source.LBound(1) + 1;
  auto element = [&](std::int32_t i, std::int32_t j) {  // 0-based
    return rank == 2 ? source.Element(source.LBound(1) + i, source.LBound(2) + j)
                     : source.Element(source.LBound(1) + j);
  };
  if (columns == 1) {
    // The result is one row: a 1-D array.
    Array<Variant> out(1, rows);
    for (std::int32_t i = 0; i < rows; ++i) out.At(i + 1) = element(i, 0);
    return Variant(std::move(out));
  }
  Array<Variant> out(1, columns, 1, rows);
  for (std::int32_t i = 0; i < rows; ++i)
    for (std::int32_t j = 0; j < columns; ++j) out.At(j + 1, i + 1) = element(i, j);
  return Variant(std::move(out));
}

}  // namespace orv::excel
