// Every member of every class called late-bound and directly, on twin
// objects in twin workbooks: the same result, the same by-reference
// write-backs, the same object state, the same failure. Then the binding's
// own failures.
#include <bit>
#include <functional>
#include <map>
#include <set>
#include <sstream>

#include "orv/automation/classes.hpp"
#include "orv/orv.hpp"
#include "orv_test.hpp"

namespace orv::automation {
namespace {

using test::Fails;
using test::Failure;
using V = std::vector<Variant>;
excel::Application g_app(Nothing);

std::string Print(const Variant& v);
std::string PrintArray(const Variant& v) {
  std::ostringstream os;
  if (v.Rank() == 0) return "()";
  os << '(' << v.LBound(1) << ':' << v.UBound(1);
  if (v.Rank() == 2) os << ',' << v.LBound(2) << ':' << v.UBound(2);
  os << ')';
  for (std::int32_t i = v.LBound(1); i <= v.UBound(1); ++i) {
    if (v.Rank() == 1)
      os << ' ' << Print(v.Element(i));
    else
      for (std::int32_t j = v.LBound(2); j <= v.UBound(2); ++j) os << ' ' << Print(v.Element(i, j));
  }
  return os.str();
}
// Type and exact bits of a value; objects by what they hold.
std::string Print(const Variant& v) {
  std::ostringstream os;
  os << static_cast<int>(v.Type()) << ':';
  switch (v.Type()) {
    case VarType::Double:
      os << std::hex << std::bit_cast<std::uint64_t>(v.AsDouble());
      break;
    case VarType::Single:
      os << std::hex << std::bit_cast<std::uint32_t>(v.AsSingle());
      break;
    case VarType::Array:
      os << PrintArray(v);
      break;
    case VarType::Object: {
      const auto& p = v.AsObject();
      if (!p) return "Nothing";
      if (auto* m = dynamic_cast<Boxed<CMatrix>*>(p.get())) return Print(m->value.Values());
      if (auto* m = dynamic_cast<Boxed<CVMatrix>*>(p.get())) return Print(m->value.Values());
      if (auto* r = dynamic_cast<Boxed<excel::Range>*>(p.get()))
        return r->value.Address(true, true, true);
      return ClassNameOf(*p);
    }
    case VarType::Empty:
    case VarType::Null:
      break;
    default:
      os << CStr(v);
  }
  return os.str();
}

Variant L(Long x) { return Variant(x); }
Variant D(double x) { return Variant(x); }
Variant B(bool x) { return Variant(x); }
Variant S(const char* x) { return Variant(x); }
excel::Range Rg(const char* ref) { return g_app.Range(ref); }
Variant R(const char* ref) { return ToVariant(Rg(ref)); }
Array<double> A(std::initializer_list<std::initializer_list<double>> rows) {
  Array<double> a(1, static_cast<Long>(rows.size()), 1, static_cast<Long>(rows.begin()->size()));
  Long i = 1;
  for (auto& r : rows) {
    Long j = 1;
    for (double x : r) a(i, j++) = x;
    ++i;
  }
  return a;
}
Array<double> Row1(double x = 1, double y = 2, double z = 3) {
  Array<double> a(1, 3);
  a(1) = x, a(2) = y, a(3) = z;
  return a;
}
Array<double> Sq() { return A({{4, 2, 0.6}, {2, 3, 0.4}, {0.6, 0.4, 2}}); }
CMatrix Mat(Array<double> a = Sq()) {
  CMatrix m;
  m.LetValues(a);
  return m;
}
Variant VM(Array<double> a = Sq()) { return ToVariant(Mat(std::move(a))); }
Array<Variant> Mixed() {
  Array<Variant> a(1, 3, 1, 2);
  a(1, 1) = 2.5, a(1, 2) = "b", a(2, 1) = "a", a(2, 2) = Long{2}, a(3, 1) = 1.0, a(3, 2) = 3.0;
  return a;
}
CVMatrix VMat() {
  CVMatrix m;
  m.LetValues(Variant(Mixed()));
  return m;
}

// A workbook with data, handed to the library.
void NewWorld() {
  g_app = excel::Application();
  g_app.Workbooks().Add();
  const char* rows[] = {"X Y Z . F",   "1 2.5 1 . a", "2 3.1 0 . b",
                        "3 4.8 1 . a", "4 4.9 1 . c", "5 6.2 0 . b"};  // "." a blank cell
  for (Long i = 1; i <= 6; ++i) {
    std::istringstream cells(rows[i - 1]);
    std::string t;
    for (Long j = 1; cells >> t; ++j) {
      auto n = ParseNumber(t);
      g_app.ActiveSheet().Cells(i, j).LetValue(n ? Variant(*n) : t == "." ? Variant() : Variant(t));
    }
  }
  g_app.Range("G1:H2").LetValue(Variant(A({{1, 0.5}, {0.5, 1}})));
  excel::SetCurrentApplication(g_app);
}

// The objects each row starts from: matrices with values, charts with data.
void Dress(clsPlotLine& p) { p.SetYValues(Rg("B2:B6")); }
void Dress(clsPlotScatter& p) { p.SetXValues(Rg("A2:A6")), p.SetYValues(Rg("B2:B6")); }
void Dress(clsPlotCircular& p) { p.SetXValues(Rg("C2:C6")), p.SetYValues(Rg("C2:C6")); }
void Dress(clsPlotHistogram& p) {
  p.SetXValuesRange(Rg("A2:A6")), p.SetXValuesSecondRange(Rg("A2:A6"));
  p.SetYValuesRange(Rg("C2:C6"));
}
template <class T>
ObjectPtr FreshOf() {
  T o;
  if constexpr (std::is_same_v<T, CMatrix>) o = Mat();
  if constexpr (std::is_same_v<T, CVMatrix>) o = VMat();
  if constexpr (std::is_same_v<T, CDescriptives>) o.SetData(Mat());
  if constexpr (requires { Dress(o); }) o.SetOutputRange(Rg("J2")), Dress(o);
  return Box(o);
}

template <class F>
Variant Do(F f) {
  if constexpr (std::is_void_v<decltype(f())>) {
    f();
    return Variant();
  } else {
    return ToVariant(f());
  }
}

// A value, or the failure that came instead.
template <class F>
std::string Seen(F f) {
  Variant v;
  Failure e = Fails([&] { v = f(); });
  std::ostringstream os;
  os << e << ' ' << Print(v);
  return os.str();
}

struct Row {
  std::string cls, member;
  std::uint16_t kind;
  ObjectPtr (*fresh)();
  std::function<V()> args;
  std::function<Variant(const ObjectPtr&, V&)> direct;
};

constexpr std::uint16_t M = kMethod, G = kPropertyGet, P = kPropertyPut, PR = kPropertyPutRef;
// Pair rows assign through the interface, then read back through it.
constexpr std::uint16_t PAIR = 0x100;

#define ROW(T, Member, Kind, Args, ...)                                             \
  Row {                                                                             \
#T, Member, Kind, &FreshOf<T>, [] { return V Args; },                             \
      [](const ObjectPtr& o, [[maybe_unused]] V& a) -> Variant {                        \
        [[maybe_unused]] T& s = Unbox<T>(*o);                                           \
        return Do([&] { return __VA_ARGS__; });                                          \
      } \
  }
#define PAIRROW(T, Name, Value)  \
  ROW(T, #Name, PAIR, ({Value}), \
      (s.Let##Name(ScalarFrom<std::remove_cvref_t<decltype(s.Name())>>(Value)), s.Name()))
#define PLACEMENT(T)                                                    \
  PAIRROW(T, VerticalOffset, L(7)), PAIRROW(T, HorizontalOffset, L(9)), \
      PAIRROW(T, ChartHeight, L(150)), PAIRROW(T, ChartWidth, L(180)),  \
      PAIRROW(T, ChartTitle, S("T"))
#define CONSTANT_ROW(Name) PAIRROW(clsConstants, Name, L(-4142)),

// One row per member (a pair row covers a property's let and get).
// clang-format off
std::vector<Row> Rows() {
  return {
      // CMatrix
      ROW(CMatrix, "SetSize", M, ({L(5), L(1), B(true)}), [&] { Long r = 5, c = 1; s.SetSize(r, c, true); a[0] = r; a[1] = c; }()),
      ROW(CMatrix, "RowCount", G, ({}), s.RowCount()), ROW(CMatrix, "ColumnCount", G, ({}), s.ColumnCount()),
      ROW(CMatrix, "IsNull", G, ({}), s.IsNull()), ROW(CMatrix, "IsSquare", G, ({}), s.IsSquare()),
      ROW(CMatrix, "IsSymmetric", M, ({}), s.IsSymmetric()), ROW(CMatrix, "Item", G, ({L(2), L(3)}), s.Item(2, 3)),
      ROW(CMatrix, "Item", P, ({L(2), D(7.25)}), s.LetItem(2, 7.25)),
      ROW(CMatrix, "Values", G, ({}), s.Values()), ROW(CMatrix, "Values", P, ({Variant(A({{1, 2}}))}), s.LetValues(A({{1, 2}}))),
      ROW(CMatrix, "ValuesToDiagonal", P, ({Variant(A({{1, 2}}))}), s.LetValuesToDiagonal(A({{1, 2}}))),
      ROW(CMatrix, "Diagonalize", M, ({}), s.Diagonalize()), ROW(CMatrix, "ToString", M, ({}), s.ToString()),
      ROW(CMatrix, "ToArray", M, ({}), s.ToArray()), ROW(CMatrix, "Clone", M, ({}), s.Clone()),
      ROW(CMatrix, "Fill", M, ({D(0.1)}), s.Fill(0.1)), ROW(CMatrix, "FillFromArray", M, ({Variant(A({{1, 2}})), B(true)}), s.FillFromArray(A({{1, 2}}), true)),
      ROW(CMatrix, "DiagVector", M, ({}), s.DiagVector()), ROW(CMatrix, "DeleteRow", M, ({L(2)}), s.DeleteRow(2)),
      ROW(CMatrix, "DeleteColumn", M, ({L(4)}), s.DeleteColumn(4)),
      ROW(CMatrix, "InsertRows", M, ({VM(), L(0)}), [&] { Long i = 0; auto r = s.InsertRows(Mat(), i); a[1] = i; return r; }()),
      ROW(CMatrix, "InsertColumns", M, ({VM(), L(2)}), [&] { Long i = 2; auto r = s.InsertColumns(Mat(), i); a[1] = i; return r; }()),
      ROW(CMatrix, "ZeroMatrix", M, ({L(2), L(3)}), s.ZeroMatrix(2, 3)), ROW(CMatrix, "IdentityMatrix", M, ({L(3)}), s.IdentityMatrix(3)),
      ROW(CMatrix, "UnityColumn", M, ({L(3)}), s.UnityColumn(3)), ROW(CMatrix, "UnityRow", M, ({L(3)}), s.UnityRow(3)),
      ROW(CMatrix, "IsEqual", G, ({VM()}), s.IsEqual(Mat())), ROW(CMatrix, "Column", M, ({L(2)}), s.Column(2)),
      ROW(CMatrix, "row", M, ({L(3)}), s.row(3)), ROW(CMatrix, "Add", M, ({VM()}), s.Add(Mat())),
      ROW(CMatrix, "Subtract", M, ({VM(A({{1, 2, 3}}))}), s.Subtract(Mat(A({{1, 2, 3}})))),
      ROW(CMatrix, "DotProduct", M, ({VM(A({{1}, {2}})), VM(A({{3}, {4}}))}), s.DotProduct(Mat(A({{1}, {2}})), Mat(A({{3}, {4}})))),
      ROW(CMatrix, "Multiply", M, ({VM()}), s.Multiply(Mat())),
      ROW(CMatrix, "MultiplyItems", M, ({VM(), L(0)}), s.MultiplyItems(Mat(), ORVMatrixItemOpDirection::All)),
      ROW(CMatrix, "DivideItems", M, ({VM(), L(0), B(true)}), s.DivideItems(Mat(), ORVMatrixItemOpDirection::All, true)),
      ROW(CMatrix, "MultiplyByConstant", M, ({D(1.5)}), s.MultiplyByConstant(1.5)),
      ROW(CMatrix, "DivideByConstant", M, ({D(0)}), s.DivideByConstant(0)),
      ROW(CMatrix, "Minimum", M, ({}), s.Minimum()), ROW(CMatrix, "Maximum", M, ({}), s.Maximum()),
      ROW(CMatrix, "GeneralInverse", M, ({}), s.GeneralInverse()), ROW(CMatrix, "Means", M, ({}), s.Means()),
      ROW(CMatrix, "Descriptives", M, ({VM(), VM(), VM(), VM()}), [&] { CMatrix m[4]; s.Descriptives(m[0], m[1], m[2], m[3]); for (int i = 0; i < 4; ++i) a[i] = ToVariant(m[i]); }()),
      ROW(CMatrix, "Sum", M, ({B(true)}), s.Sum(true)), ROW(CMatrix, "SumSqs", M, ({L(1), L(3)}), s.SumSqs(ORVMDColumns, 3)),
      ROW(CMatrix, "Transpose", M, ({}), s.Transpose()),
      ROW(CMatrix, "SubMatrix", M, ({L(2), L(2)}), s.SubMatrix(2, 2)),
      ROW(CMatrix, "Sort", M, ({L(2)}), s.Sort(2)), ROW(CMatrix, "QuickSort", M, ({L(0), L(1), L(2)}), s.QuickSort(orvSortRows, orvSortDescending, 2)),
      ROW(CMatrix, "CountNonZero", M, ({}), s.CountNonZero()), ROW(CMatrix, "CountValue", M, ({D(2)}), s.CountValue(2)),
      ROW(CMatrix, "DeleteRowsCols", M, ({VM(A({{1}, {0}, {1}})), VM(A({{0}, {1}, {0}}))}), s.DeleteRowsCols(Mat(A({{1}, {0}, {1}})), Mat(A({{0}, {1}, {0}})))),
      ROW(CMatrix, "DeleteRows", M, ({VM(A({{1}, {0}, {0}}))}), s.DeleteRows(Mat(A({{1}, {0}, {0}})))),
      ROW(CMatrix, "Rank", M, ({}), s.Rank()), ROW(CMatrix, "Covariance", M, ({}), s.Covariance()),
      ROW(CMatrix, "Correlation", M, ({}), s.Correlation()), ROW(CMatrix, "Concatenate", M, ({VM(), B(true)}), s.Concatenate(Mat(), true)),
      ROW(CMatrix, "EigenValuesAndVectors", M, ({}), s.EigenValuesAndVectors()), ROW(CMatrix, "determinant", G, ({}), s.determinant()),
      ROW(CMatrix, "IsSingular", G, ({}), s.IsSingular()), ROW(CMatrix, "Cholesky", M, ({}), s.Cholesky()),
      ROW(CMatrix, "IsPositiveDefinite", M, ({}), s.IsPositiveDefinite()),
      ROW(CMatrix, "ValuesAsVector", M, ({L(2)}), s.ValuesAsVector(ORVMVDiagonal)),
      ROW(CMatrix, "SolveEquation", M, ({VM(A({{1}, {2}, {3}}))}), s.SolveEquation(Mat(A({{1}, {2}, {3}})))),
      ROW(CMatrix, "ForwardSubstitution", M, ({VM(A({{1}, {2}, {3}}))}), s.ForwardSubstitution(Mat(A({{1}, {2}, {3}})))),
      ROW(CMatrix, "BackwardSubstitution", M, ({VM(A({{1}, {2}, {3}}))}), s.BackwardSubstitution(Mat(A({{1}, {2}, {3}})))),
      ROW(CMatrix, "QuickSortWithThreshold", M, ({D(1), B(true)}), s.QuickSortWithThreshold(1, true)),
      // CVMatrix
      ROW(CVMatrix, "SetSize", M, ({L(2), L(4), B(true)}), [&] { Long r = 2, c = 4; s.SetSize(r, c, true); a[0] = r; a[1] = c; }()),
      ROW(CVMatrix, "RowCount", G, ({}), s.RowCount()), ROW(CVMatrix, "ColumnCount", G, ({}), s.ColumnCount()),
      ROW(CVMatrix, "IsNull", G, ({}), s.IsNull()), ROW(CVMatrix, "IsEqual", G, ({ToVariant(VMat())}), s.IsEqual(VMat())),
      ROW(CVMatrix, "Item", G, ({L(1), L(2)}), s.Item(1, 2)), ROW(CVMatrix, "Item", P, ({L(3), S("z")}), s.LetItem(3, Variant("z"))),
      ROW(CVMatrix, "Values", G, ({}), s.Values()), ROW(CVMatrix, "Values", P, ({Variant(A({{1, 2}}))}), s.LetValues(Variant(A({{1, 2}})))),
      ROW(CVMatrix, "ToString", M, ({}), s.ToString()), ROW(CVMatrix, "ToArray", M, ({}), s.ToArray()),
      ROW(CVMatrix, "FillFromArray", M, ({Variant(A({{1, 2}})), B(true)}), s.FillFromArray(Variant(A({{1, 2}})), true)),
      ROW(CVMatrix, "DeleteRow", M, ({L(1)}), s.DeleteRow(1)), ROW(CVMatrix, "DeleteColumn", M, ({L(2)}), s.DeleteColumn(2)),
      ROW(CVMatrix, "InsertRows", M, ({ToVariant(VMat()), L(0)}), [&] { Long i = 0; auto r = s.InsertRows(VMat(), i); a[1] = i; return r; }()),
      ROW(CVMatrix, "InsertColumns", M, ({ToVariant(VMat()), L(1)}), [&] { Long i = 1; auto r = s.InsertColumns(VMat(), i); a[1] = i; return r; }()),
      ROW(CVMatrix, "Column", M, ({L(1)}), s.Column(1)), ROW(CVMatrix, "row", M, ({L(2)}), s.row(2)),
      ROW(CVMatrix, "SubMatrix", M, ({L(2), L(1), L(0), L(2)}), [&] { Long r = 0, c = 2; auto m = s.SubMatrix(2, 1, r, c); a[2] = r; a[3] = c; return m; }()),
      ROW(CVMatrix, "Sort", M, ({L(2)}), s.Sort(2)), ROW(CVMatrix, "Rank", M, ({}), s.Rank()),
      // clsMatrix
      ROW(clsMatrix, "ReturnHeadersAndNumericData", M, ({R("A1:C6"), B(true)}), s.ReturnHeadersAndNumericData(Rg("A1:C6"), true)),
      ROW(clsMatrix, "ReturnHeadersAndNumericDataArrays", M, ({R("A1:C6"), B(true)}), s.ReturnHeadersAndNumericDataArrays(Rg("A1:C6"), true)),
      ROW(clsMatrix, "ReturnHeadersAndStringData", M, ({R("E1:E6"), B(true)}), s.ReturnHeadersAndStringData(Rg("E1:E6"), true)),
      ROW(clsMatrix, "ReturnHeadersAndVariantData", M, ({R("A1:E6"), B(true)}), s.ReturnHeadersAndVariantData(Rg("A1:E6"), true)),
      ROW(clsMatrix, "VariantToArray", M, ({Variant(Sq())}), s.VariantToArray(Variant(Sq()))),
      ROW(clsMatrix, "VariantToStringArray", M, ({Variant(Mixed())}), s.VariantToStringArray(Variant(Mixed()))),
      ROW(clsMatrix, "VariantToIntegerArray", M, ({Variant(Sq())}), s.VariantToIntegerArray(Variant(Sq()))),
      ROW(clsMatrix, "VariantToLongArray", M, ({Variant(Sq())}), s.VariantToLongArray(Variant(Sq()))),
      ROW(clsMatrix, "HConcatenate", M, ({Variant(Sq()), Variant(Sq())}), s.HConcatenate(Sq(), Sq())),
      ROW(clsMatrix, "HStringConcatenate", M, ({Variant(Sq()), Variant(Sq())}), s.HStringConcatenate(ArrayFrom<Array<std::string>>(Variant(Sq())), ArrayFrom<Array<std::string>>(Variant(Sq())))),
      ROW(clsMatrix, "VariantHConcatenate", M, ({Variant(Mixed()), Variant(Mixed())}), s.VariantHConcatenate(Variant(Mixed()), Variant(Mixed()))),
      ROW(clsMatrix, "VariantVConcatenate", M, ({Variant(Mixed()), Variant(Mixed())}), s.VariantVConcatenate(Variant(Mixed()), Variant(Mixed()))),
      ROW(clsMatrix, "SubMatrix", M, ({Variant(Sq()), L(2), L(1), L(2), L(2)}), s.SubMatrix(Sq(), 2, 1, 2, 2)),
      ROW(clsMatrix, "VariantSubMatrix", M, ({Variant(Mixed()), L(1), L(2), L(2), L(2)}), s.VariantSubMatrix(Variant(Mixed()), 1, 2, 2, 2)),
      ROW(clsMatrix, "StringSubArray", M, ({Variant(Row1()), L(1), L(2)}), s.StringSubArray(ArrayFrom<Array<std::string>>(Variant(Row1())), 1, 2)),
      ROW(clsMatrix, "Transpose", M, ({Variant(Sq())}), s.Transpose(Sq())),
      ROW(clsMatrix, "VariantTranspose", M, ({Variant(Mixed())}), s.VariantTranspose(Variant(Mixed()))),
      ROW(clsMatrix, "StringTranspose", M, ({Variant(Sq())}), s.StringTranspose(ArrayFrom<Array<std::string>>(Variant(Sq())))),
      ROW(clsMatrix, "MakeMatrix", M, ({Variant(A({{1, 2, 3}}))}), s.MakeMatrix(A({{1, 2, 3}}))),
      ROW(clsMatrix, "VariantMakeMatrix", M, ({Variant(Mixed())}), s.VariantMakeMatrix(Variant(Mixed()))),
      ROW(clsMatrix, "Unity", M, ({L(3)}), s.Unity(3)), ROW(clsMatrix, "UnityVector", M, ({L(3), L(1)}), s.UnityVector(3, 1)),
      ROW(clsMatrix, "MCombine", M, ({Variant(Sq()), Variant(Sq())}), s.MCombine(Sq(), Sq())),
      ROW(clsMatrix, "ToString", M, ({Variant(Sq())}), s.ToString(Sq())),
      ROW(clsMatrix, "MMult", M, ({Variant(Sq()), Variant(A({{1, 2}}))}), s.MMult(Sq(), A({{1, 2}}))),
      ROW(clsMatrix, "MMultConst", M, ({Variant(Sq()), D(3)}), [&] { auto m = Sq(); auto r = s.MMultConst(m, 3); a[0] = Variant(m); return r; }()),
      ROW(clsMatrix, "MAdd", M, ({Variant(Sq()), Variant(Sq())}), s.MAdd(Sq(), Sq())),
      ROW(clsMatrix, "MSubtract", M, ({Variant(Sq()), Variant(Sq())}), s.MSubtract(Sq(), Sq())),
      ROW(clsMatrix, "VariantMSubtract", M, ({Variant(Sq()), Variant(Sq())}), s.VariantMSubtract(Variant(Sq()), Variant(Sq()))),
      ROW(clsMatrix, "Kronecker", M, ({Variant(Sq()), Variant(A({{1, 2}}))}), s.Kronecker(Sq(), A({{1, 2}}))),
      ROW(clsMatrix, "SumProduct", M, ({Variant(Sq()), Variant(Sq())}), s.SumProduct(Sq(), Sq())),
      ROW(clsMatrix, "MIdentity", M, ({L(2)}), s.MIdentity(2)), ROW(clsMatrix, "GenInv", M, ({Variant(Sq())}), s.GenInv(Sq())),
      ROW(clsMatrix, "GeneralInverse", M, ({Variant(Sq())}), s.GeneralInverse(Sq())),
      ROW(clsMatrix, "Max", M, ({Variant(Sq())}), s.Max(Variant(Sq()))), ROW(clsMatrix, "Min", M, ({Variant(Sq())}), s.Min(Variant(Sq()))),
      ROW(clsMatrix, "GetDescriptives", M, ({Variant(Sq()), {}, {}, {}, {}}), [&] { Array<double> r[4]; s.GetDescriptives(Sq(), r[0], r[1], r[2], r[3]); for (int i = 0; i < 4; ++i) a[i + 1] = Variant(r[i]); }()),
      ROW(clsMatrix, "CovarianceXY", M, ({Variant(Sq()), Variant(Sq())}), s.CovarianceXY(Sq(), Sq())),
      ROW(clsMatrix, "CovarianceXX", M, ({Variant(Sq())}), s.CovarianceXX(Sq())),
      ROW(clsMatrix, "CorrelationXX", M, ({Variant(Sq())}), s.CorrelationXX(Sq())),
      ROW(clsMatrix, "CorrelationXY", M, ({Variant(Sq()), Variant(Sq())}), s.CorrelationXY(Sq(), Sq())),
      ROW(clsMatrix, "FactorSSQCP", M, ({Variant(Sq()), Variant(Row1(1, 1, 1))}), s.FactorSSQCP(Sq(), Variant(Row1(1, 1, 1)))),
      ROW(clsMatrix, "FactorTolerance", M, ({Variant(Sq()), Variant(Row1(1, 1, 1))}), s.FactorTolerance(Sq(), Variant(Row1(1, 1, 1)))),
      ROW(clsMatrix, "Sort", M, ({Variant(Sq())}), [&] { auto m = Sq(); s.Sort(m); a[0] = Variant(m); }()),
      ROW(clsMatrix, "VariantSort", M, ({Variant(Mixed()), B(false)}), [&] { Variant m(Mixed()); s.VariantSort(m, false); a[0] = m; }()),
      ROW(clsMatrix, "QuickSort", M, ({Variant(Sq()), L(1)}), [&] { auto m = Sq(); s.QuickSort(m, orvSortDescending); a[0] = Variant(m); }()),
      ROW(clsMatrix, "Cholesky", M, ({Variant(Sq())}), s.Cholesky(Sq())),
      ROW(clsMatrix, "MInv_SymmetricPositiveDefinite", M, ({Variant(Sq())}), [&] { auto m = Sq(); auto r = s.MInv_SymmetricPositiveDefinite(m); a[0] = Variant(m); return r; }()),
      ROW(clsMatrix, "Eigen", M, ({Variant(Sq())}), s.Eigen(Sq())),
      ROW(clsMatrix, "determinant", M, ({Variant(Sq())}), [&] { Variant m(Sq()); auto r = s.determinant(m); a[0] = m; return r; }()),
      // The small classes
      ROW(CRangeObjects, "RangeToDouble", M, ({R("A1:C6"), B(true)}), s.RangeToDouble(Rg("A1:C6"), true)),
      ROW(CRangeObjects, "ExtractHeaders", M, ({R("A1:C6"), Variant(ObjectPtr()), B(true)}), s.ExtractHeaders(Rg("A1:C6"), excel::Range(Nothing), true)),
      ROW(CDescriptives, "Data", PR, ({VM()}), s.SetData(Mat())), ROW(CDescriptives, "Counts", G, ({}), s.Counts()),
      ROW(CDistributions, "ORV_CDF_Normal", M, ({D(1.5)}), s.ORV_CDF_Normal(1.5)),
      ROW(CDistributions, "ORV_IDF_Normal", M, ({D(0.9), D(1), D(2)}), s.ORV_IDF_Normal(0.9, 1, 2)),
      ROW(CDistributions, "ORV_CDF_t", M, ({D(2.1), L(7), L(3)}), s.ORV_CDF_t(2.1, 7, 3)),
      ROW(CDistributions, "ORV_IDF_t", M, ({D(0.05), L(7)}), s.ORV_IDF_t(Variant(0.05), Variant(Long{7}))),
      ROW(CDistributions, "ORV_CDF_Q", M, ({D(3.5), L(12), L(1)}), s.ORV_CDF_Q(3.5, 12, 1)),
      ROW(CDistributions, "ORV_CDF_Rayleigh", M, ({D(2.5), L(10)}), s.ORV_CDF_Rayleigh(2.5, 10)),
      ROW(clsDistributions, "QDist", M, ({D(3.5), L(12), L(3)}), s.QDist(3.5, 12, 3)),
      ROW(clsDistributions, "RayleighP", M, ({D(2.5), L(0)}), s.RayleighP(2.5, 0)),
      ROW(clsValidation, "ValidateReference", M, ({S("Sheet1!A1")}), s.ValidateReference("Sheet1!A1")),
      ROW(clsValidation, "ValidateInputRange", M, ({R("A1:C6"), B(true), B(true)}), s.ValidateInputRange(Rg("A1:C6"), true, true)),
      ROW(clsValidation, "ValidateXRange", M, ({R("A1:A6"), B(true), B(false), B(true)}), s.ValidateXRange(Rg("A1:A6"), true, false, true)),
      ROW(clsValidation, "ValidateZRange", M, ({R("C1:C6"), B(true)}), s.ValidateZRange(Rg("C1:C6"), true)),
      ROW(clsValidation, "ValidateNonnumericInputRange", M, ({R("E1:E6"), B(true)}), s.ValidateNonnumericInputRange(Rg("E1:E6"), true)),
      ROW(clsValidation, "ValidateFactorRange", M, ({R("E1:E6"), B(true)}), s.ValidateFactorRange(Rg("E1:E6"), true)),
      ROW(clsValidation, "ValidateEvenXYRange", M, ({R("B1:B6"), R("A1:A6"), B(true)}), s.ValidateEvenXYRange(Rg("B1:B6"), Rg("A1:A6"), true)),
      ROW(clsValidation, "ValidateOutputRange", M, ({R("A1"), L(2), L(2)}), s.ValidateOutputRange(Rg("A1"), 2, 2)),
      ROW(clsValidation, "ValidateNumericData", M, ({R("A1:C6"), B(true), L(1), B(false), L(3)}), s.ValidateNumericData(Rg("A1:C6"), true, ORVNumericDataType::YData, false, 3)),
      ROW(clsValidation, "ValidateStringData", M, ({R("E1:E6"), B(true), L(3)}), s.ValidateStringData(Rg("E1:E6"), true, ORVStringDataType::FactorData)),
      ROW(clsValidation, "ValidatePairedData", M, ({R("A1:B6"), B(true)}), s.ValidatePairedData(Rg("A1:B6"), true)),
      ROW(clsValidation, "TestRangeSize", M, ({R("A1"), L(1048577), L(1)}), s.TestRangeSize(Rg("A1"), 1048577, 1)),
      ROW(clsValidation, "ValidateSymemtricMatrix", M, ({R("G1:H2"), B(false), L(1)}), s.ValidateSymemtricMatrix(Rg("G1:H2"), false, ORVMatrixType::Correlation)),
      ROW(clsMain, "Excel", G, ({}), s.Excel()), ROW(clsMain, "Excel", PR, ({ToVariant(excel::Application(Nothing))}), s.SetExcel(excel::Application(Nothing))),
      ROW(clsMain, "Getth", M, ({S("22")}), s.Getth("22")), ROW(clsMain, "ArrayIsEmpty", M, ({Variant(Sq())}), s.ArrayIsEmpty(Variant(Sq()))),
      ROW(clsMain, "DPArray", M, ({Variant(A({{1, 2}}))}), s.DPArray(Variant(A({{1, 2}})))),
      ROW(clsMain, "AxisTicks", M, ({D(0.3), D(9.7), L(5), D(0.05), L(0), L(0), L(0), L(0)}), [&] { double mn, mx, u; Long dp; s.AxisTicks(0.3, 9.7, 5, 0.05, mn, mx, u, dp); a[4] = mn, a[5] = mx, a[6] = u, a[7] = dp; }()),
      ROW(clsMain, "RepositionChart", M, ({S("Chart 1"), L(100), L(100), L(0), L(0), R("B2")}), s.RepositionChart("Chart 1", 100, 100, 0, 0, Rg("B2"))),
      ROW(clsFormatting, "SetHeaders", M, ({R("A1:C1")}), s.SetHeaders(Rg("A1:C1"))),
      ROW(clsFormatting, "SetData", M, ({R("A2:C6"), B(true)}), s.SetData(Rg("A2:C6"), true)),
      ROW(clsFormatting, "SetTitles", M, ({R("A1"), B(true)}), s.SetTitles(Rg("A1"), true)),
      ROW(clsFormatting, "FormatRange", M, ({R("A1:C6"), L(1)}), [&] { Integer h = 1; s.FormatRange(Rg("A1:C6"), h); a[1] = h; }()),
      PAIRROW(clsProperties, themeName, S("Blue")), PAIRROW(clsProperties, themeVersion, L(3)),
      PAIRROW(clsProperties, SummaryForeColour, L(255)), PAIRROW(clsProperties, SummaryBackColour, L(65280)),
      PAIRROW(clsProperties, SummaryBold, B(true)), PAIRROW(clsProperties, SummaryItalic, B(true)),
      PAIRROW(clsProperties, TitleForeColour, L(1)), PAIRROW(clsProperties, TitleBackColour, L(2)),
      PAIRROW(clsProperties, TitlesBold, B(true)), PAIRROW(clsProperties, TitlesItalic, B(true)),
      PAIRROW(clsProperties, HeaderForeColour, L(3)), PAIRROW(clsProperties, HeaderBackColour, L(4)),
      PAIRROW(clsProperties, HeadersBold, B(true)), PAIRROW(clsProperties, HeadersItalic, B(true)),
      PAIRROW(clsProperties, HeaderWrap, B(true)), PAIRROW(clsProperties, HeaderAlign, L(-4108)),
      PAIRROW(clsProperties, DataForeColour, L(5)), PAIRROW(clsProperties, DataBackColour, L(6)),
      PAIRROW(clsProperties, DataBold, B(true)), PAIRROW(clsProperties, DataItalic, B(true)),
      PAIRROW(clsProperties, DecimalPlaces, S("0.00")), PAIRROW(clsProperties, RememberRefs, B(true)),
      PAIRROW(clsProperties, HelpOnTop, B(true)), PAIRROW(clsProperties, DisableSplash, B(true)),
      PAIRROW(clsProperties, QuickHelpVisible, B(true)), PAIRROW(clsProperties, QuickHelpScrollMode, L(2)),
      ORV_CLSCONSTANTS_VALUES(CONSTANT_ROW) ROW(clsConstants, "HELPFILE", G, ({}), s.HELPFILE()),
      // Charts: the write-only settings are seen in the drawing that follows.
      PLACEMENT(clsPlotLine), PAIRROW(clsPlotLine, YAxisTitle, S("Y")), PAIRROW(clsPlotLine, XAxisTitle, S("X")),
      ROW(clsPlotLine, "OutputRange", PR, ({R("L3")}), s.SetOutputRange(Rg("L3"))),
      ROW(clsPlotLine, "YValues", PR, ({R("A2:A6")}), s.SetYValues(Rg("A2:A6"))),
      ROW(clsPlotLine, "ShowPoints", P, ({B(false)}), s.LetShowPoints(false)), ROW(clsPlotLine, "ShowLines", P, ({B(false)}), s.LetShowLines(false)),
      ROW(clsPlotLine, "YMin", P, ({L(-2)}), s.LetYMin(-2)), ROW(clsPlotLine, "CreatePlot", M, ({}), s.CreatePlot()),
      PLACEMENT(clsPlotScatter), PAIRROW(clsPlotScatter, YAxisTitle, S("Y")), PAIRROW(clsPlotScatter, XAxisTitle, S("X")),
      ROW(clsPlotScatter, "ChartSubtitle", P, ({S("s")}), s.LetChartSubtitle("s")),
      ROW(clsPlotScatter, "OutputRange", PR, ({R("L3")}), s.SetOutputRange(Rg("L3"))),
      ROW(clsPlotScatter, "XValues", PR, ({R("C2:C6")}), s.SetXValues(Rg("C2:C6"))),
      ROW(clsPlotScatter, "YValues", PR, ({R("A2:A6")}), s.SetYValues(Rg("A2:A6"))),
      ROW(clsPlotScatter, "CLLower", PR, ({R("A2:A6")}), s.SetCLLower(Rg("A2:A6"))),
      ROW(clsPlotScatter, "CLUpper", PR, ({R("B2:B6")}), s.SetCLUpper(Rg("B2:B6"))),
      ROW(clsPlotScatter, "DataLabels", P, ({Variant(A({{1, 2}}))}), s.LetDataLabels(Variant(A({{1, 2}})))),
      ROW(clsPlotScatter, "Slope", P, ({D(0.5)}), s.LetSlope(0.5)),
      ROW(clsPlotScatter, "Intercept", P, ({D(-1.25)}), s.LetIntercept(-1.25)),
      ROW(clsPlotScatter, "Regression", P, ({L(1)}), s.LetRegression(ORVPSRegCalculate)),
      ROW(clsPlotScatter, "ConstantIs0", P, ({B(true)}), s.LetConstantIs0(true)),
      ROW(clsPlotScatter, "Crosshairs", P, ({L(3)}), s.LetCrosshairs(orvPSBoth)),
      ROW(clsPlotScatter, "ConfidenceLimits", P, ({L(95)}), s.LetConfidenceLimits(95)),
      ROW(clsPlotScatter, "PredictionLimits", P, ({L(101)}), s.LetPredictionLimits(101)),
      ROW(clsPlotScatter, "StandardError", P, ({B(true)}), s.LetStandardError(true)),
      ROW(clsPlotScatter, "AreaBorder", P, ({B(true)}), s.LetAreaBorder(true)),
      ROW(clsPlotScatter, "ScaleStarPoints", P, ({B(true)}), s.LetScaleStarPoints(true)),
      ROW(clsPlotScatter, "LinePoints", M, ({D(0), D(1), D(1e39), D(2)}), s.LinePoints(0, 1, 1e39, 2)),
      ROW(clsPlotScatter, "StarPoints", M, ({Variant(A({{1}, {2}})), Variant(A({{2}, {1}}))}), s.StarPoints(Variant(A({{1}, {2}})), Variant(A({{2}, {1}})))),
      ROW(clsPlotScatter, "CreatePlot", M, ({}), s.CreatePlot()),
      ROW(clsPlotHistogram, "DataType", P, ({L(1)}), s.LetDataType(ORVHistogramCategorical)),
      PLACEMENT(clsPlotHistogram), PAIRROW(clsPlotHistogram, XAxisTitle, S("X")),
      PAIRROW(clsPlotHistogram, YAxisTitle, S("Y")), PAIRROW(clsPlotHistogram, YAxisSecondTitle, S("Y2")),
      ROW(clsPlotHistogram, "OutputRange", PR, ({R("L3")}), s.SetOutputRange(Rg("L3"))),
      ROW(clsPlotHistogram, "HeadersRange", PR, ({R("A1")}), s.SetHeadersRange(Rg("A1"))),
      ROW(clsPlotHistogram, "XValuesRange", PR, ({R("B2:B6")}), s.SetXValuesRange(Rg("B2:B6"))),
      ROW(clsPlotHistogram, "XValuesSecondRange", PR, ({R("B2:B6")}), s.SetXValuesSecondRange(Rg("B2:B6"))),
      ROW(clsPlotHistogram, "YValuesRange", PR, ({R("A2:A6")}), s.SetYValuesRange(Rg("A2:A6"))),
      ROW(clsPlotHistogram, "YValuesSecondRange", PR, ({R("C2:C6")}), s.SetYValuesSecondRange(Rg("C2:C6"))),
      ROW(clsPlotHistogram, "CreatePlot", M, ({}), s.CreatePlot()),
      PLACEMENT(clsPlotCircular),
      ROW(clsPlotCircular, "OutputRange", PR, ({R("L3")}), s.SetOutputRange(Rg("L3"))),
      ROW(clsPlotCircular, "XValues", PR, ({R("A2:A6")}), s.SetXValues(Rg("A2:A6"))),
      ROW(clsPlotCircular, "YValues", PR, ({R("B2:B6")}), s.SetYValues(Rg("B2:B6"))),
      ROW(clsPlotCircular, "CreatePlot", M, ({}), s.CreatePlot()),
  };
}
// clang-format on

// What one side of a row saw: the failure, the result, the arguments after
// the call, the object (its readable properties) and the sheet.
std::vector<std::string> Observe(const Row& row, bool late) {
  NewWorld();
  ObjectPtr o = row.fresh();
  V args = row.args();
  Variant result;
  Failure f = Fails([&] {
    if (!late) {
      result = row.direct(o, args);
    } else if (row.kind == PAIR) {
      Invoke(o, row.member, kPropertyPut, args);
      result = Invoke(o, row.member, kPropertyGet, {});
    } else {
      result = Invoke(o, row.member, row.kind, args);
    }
  });
  std::ostringstream failure;
  failure << f;
  std::vector<std::string> seen{failure.str(), Print(result)};
  for (auto& a : args) seen.push_back(Print(a));
  for (const Member& m : ClassOf(*o)->Members())
    if (m.kind == kPropertyGet && m.params.empty())
      seen.push_back(std::string(m.name) + "=" +
                     Seen([&] { return Invoke(o, m.name, kPropertyGet, {}); }));
  seen.push_back(Print(Variant(ObjectPtr(o))));
  seen.push_back(Print(g_app.Range("A1:L12").Value()));
  seen.push_back(std::to_string(g_app.ActiveSheet().ChartObjects().Count()));
  return seen;
}

TEST(Dispatch, EveryMemberLateBoundActsAsTheDirectCall) {
  test::SavedSharedState saved;
  saved.Save();
  std::map<std::string, std::set<std::string>> covered;
  int failures = 0;
  for (const Row& row : Rows()) {
    saved.Restore();
    auto direct = Observe(row, false);
    saved.Restore();
    auto late = Observe(row, true);
    EXPECT_EQ(direct, late) << row.cls << "." << row.member;
    failures += direct[0] != "no error";
    covered[row.cls].insert(row.member);
  }
  saved.Restore();
  // Every member of every library class has a row; a few rows fail on purpose.
  for (const ClassName& c : ClassNames()) {
    const ClassInfo& cls = *ClassNamed(c.name);
    if (cls.Name() == "Application") continue;
    for (const Member& m : cls.Members())
      EXPECT_TRUE(covered[cls.Name()].count(std::string(m.name))) << cls.Name() << "." << m.name;
  }
  EXPECT_LE(failures, 14);
}

TEST(Dispatch, BindingFailuresCarryThePlatformsNumbersAndTexts) {
  const ObjectPtr m = Box(Mat());
  struct Case {
    std::int32_t number;
    const char* text;
    std::function<void()> call;
  };
  const std::string_view bad_name[] = {"Nope"};
  // clang-format off
  for (const Case& c : std::initializer_list<Case>{
           {438, "Object doesn't support this property or method", [&] { Invoke(m, "Nope", M, {}); }},
           {438, "Object doesn't support this property or method", [&] { Invoke(m, DispId{999}, M, {}); }},
           {438, "Object doesn't support this property or method", [&] { Invoke(Box(clsPlotLine()), "YMin", G, {}); }},
           {450, "Wrong number of arguments or invalid property assignment", [&] { V a{L(1)}; Invoke(m, "RowCount", G, a); }},
           {450, "Wrong number of arguments or invalid property assignment", [&] { V a{L(3)}; Invoke(m, "RowCount", P, a); }},
           {449, "Argument not optional", [&] { Invoke(m, "Item", G, {}); }},
           {449, "Argument not optional", [&] { V a{Missing()}; Invoke(m, "Item", G, a); }},
           {448, "Named argument not found", [&] { V a{L(1)}; Invoke(m, "Item", G, a, bad_name); }},
           {13, "Type mismatch", [&] { V a{S("abc")}; Invoke(m, "Item", G, a); }},
           {13, "Type mismatch", [&] { V a{ToVariant(VMat())}; Invoke(m, "Add", M, a); }},
           {13, "Type mismatch", [&] { V a{Variant(Sq())}; Invoke(m, "Fill", M, a); }},
           {424, "Object required", [&] { V a{D(3)}; Invoke(m, "Add", M, a); }},
           {91, test::kNotSet, [&] { Invoke(ObjectPtr(), "RowCount", G, {}); }},
           {429, "ActiveX component can't create object", [&] { CreateObject("ORVMain.Nope"); }},
           {429, "ActiveX component can't create object", [&] { GlobalInstance("ORVMain.CMatrix"); }},
       })
    EXPECT_EQ(Fails(c.call), (Failure{c.number, "ORVMain", c.text}));
  // clang-format on
}

TEST(Dispatch, NamesIgnoreCaseArgumentsBindByNameAndOptionalsMayBeLeftOut) {
  ObjectPtr m = CreateObject("orvmain.cmatrix");
  EXPECT_NE(m, CreateObject("ORVMain.CMatrix"));
  EXPECT_EQ(CreateObject("ORVMain.clsMain"), GlobalInstance("clsmain"));
  Unbox<CMatrix>(*m).LetValues(Sq());
  EXPECT_EQ(IdOfName(m, "SUBMATRIX"), IdOfName(*ClassNamed("CMatrix"), "SubMatrix"));
  // SubMatrix(2, StartCol:=1, NumCols:=0): rows left out, columns written back.
  V a{L(2), L(0), L(1)};
  const std::string_view names[] = {"", "numcols", "StartCol"};
  Variant r = Invoke(m, "SubMatrix", M, a, names);
  EXPECT_EQ(Print(r), Print(ToVariant(Mat().SubMatrix(2, 1, 0, 3))));
  EXPECT_EQ(Print(a[1]), Print(L(3)));
  // Item(3) = 9 leaves Column out; Item(3, Missing) reads it back.
  V put{L(3), D(9)}, get{L(3), Missing()};
  Invoke(m, "item", P, put);
  EXPECT_EQ(Print(Invoke(m, "Item", M | G, get)), Print(D(9)));
  // A member's own failure is not the binding's.
  V zero{L(0)};
  EXPECT_EQ(Fails([&] { Invoke(m, "Item", G, zero); }), Fails([&] { Mat().Item(0); }));
}

// The ids of a class's members count from 1 in the order its documentation
// lists them, and the class has no other members.
TEST(Dispatch, IdsFollowTheDocumentedMemberOrder) {
  const std::map<std::string, std::string> documented = {
      {"clsMain", "Excel Getth ArrayIsEmpty DPArray RepositionChart AxisTicks"},
      {"clsConstants",
       "HELPFILE xlContinuous xlEdgeBottom xlHAlignGeneral xlHAlignLeft xlHAlignCenter "
       "xlHAlignRight xlMedium xlThin xlEdgeTop xlPasteAll xlLineMarkers xlCircle xlLineStyleNone "
       "xlCategory xlPrimary xlSecondary xlValue xlBoth xlUnderlineStyleNone xlAutomatic xlCorner "
       "xlY xlCap xlTickMarkOutside xlTickMarkCross xlNone xlLabelPositionLeft xlCustom xlRows "
       "msoFalse xlDot xlDataLabelsShowLabel xlHairline xlMarkerStyleNone xlXYScatter xlStockOHLC "
       "xlLocationAsObject xlLinear xlPolynomial xlColumns"},
      {"clsValidation",
       "ValidateReference ValidateInputRange ValidateXRange ValidateZRange "
       "ValidateNonnumericInputRange ValidateFactorRange ValidateEvenXYRange ValidateOutputRange "
       "ValidateNumericData ValidateStringData ValidatePairedData TestRangeSize "
       "ValidateSymemtricMatrix"},
      {"clsDistributions", "QDist RayleighP"},
      {"CDistributions",
       "ORV_CDF_Q ORV_CDF_Rayleigh ORV_CDF_t ORV_CDF_Normal ORV_IDF_Normal ORV_IDF_t"},
      {"CRangeObjects", "RangeToDouble ExtractHeaders"},
      {"clsFormatting", "SetHeaders SetData SetTitles FormatRange"},
      {"clsProperties",
       "themeName themeVersion SummaryForeColour SummaryBackColour SummaryBold SummaryItalic "
       "TitleForeColour TitleBackColour TitlesBold TitlesItalic HeaderForeColour HeaderBackColour "
       "HeadersBold HeadersItalic HeaderWrap HeaderAlign DataForeColour DataBackColour DataBold "
       "DataItalic DecimalPlaces RememberRefs HelpOnTop DisableSplash QuickHelpVisible "
       "QuickHelpScrollMode"},
      {"clsPlotLine",
       "VerticalOffset HorizontalOffset ChartTitle YAxisTitle XAxisTitle OutputRange YValues "
       "ShowPoints ShowLines ChartHeight ChartWidth YMin CreatePlot"},
      {"clsPlotScatter",
       "VerticalOffset HorizontalOffset ChartHeight ChartWidth ChartTitle YAxisTitle XAxisTitle "
       "ChartSubtitle OutputRange XValues YValues CLLower CLUpper DataLabels Slope Intercept "
       "Regression ConstantIs0 Crosshairs ConfidenceLimits PredictionLimits StandardError "
       "AreaBorder ScaleStarPoints LinePoints StarPoints CreatePlot"},
      {"clsPlotHistogram",
       "DataType VerticalOffset HorizontalOffset ChartTitle XAxisTitle YAxisTitle "
       "YAxisSecondTitle OutputRange HeadersRange XValuesRange XValuesSecondRange YValuesRange "
       "YValuesSecondRange ChartHeight ChartWidth CreatePlot"},
      {"clsPlotCircular",
       "VerticalOffset HorizontalOffset ChartTitle OutputRange XValues YValues ChartHeight "
       "ChartWidth CreatePlot"},
      {"clsMatrix",
       "ReturnHeadersAndNumericData ReturnHeadersAndNumericDataArrays ReturnHeadersAndStringData "
       "ReturnHeadersAndVariantData VariantToArray VariantToStringArray VariantToIntegerArray "
       "VariantToLongArray HConcatenate HStringConcatenate VariantHConcatenate "
       "VariantVConcatenate SubMatrix VariantSubMatrix StringSubArray Transpose VariantTranspose "
       "StringTranspose MakeMatrix VariantMakeMatrix Unity UnityVector MCombine ToString MMult "
       "MMultConst MAdd MSubtract VariantMSubtract Kronecker SumProduct MIdentity GenInv "
       "GeneralInverse Max Min GetDescriptives CovarianceXY CovarianceXX CorrelationXX "
       "CorrelationXY FactorSSQCP FactorTolerance Sort VariantSort QuickSort Cholesky "
       "MInv_SymmetricPositiveDefinite Eigen determinant"},
      {"CMatrix",
       "SetSize RowCount ColumnCount IsNull IsSquare IsSymmetric Item Values ValuesToDiagonal "
       "Diagonalize ToString ToArray Clone Fill FillFromArray DiagVector DeleteRow DeleteColumn "
       "InsertRows InsertColumns ZeroMatrix IdentityMatrix UnityColumn UnityRow IsEqual Column "
       "row Add Subtract DotProduct Multiply MultiplyItems DivideItems MultiplyByConstant "
       "DivideByConstant Minimum Maximum GeneralInverse Means Descriptives Sum SumSqs Transpose "
       "SubMatrix Sort QuickSort CountNonZero CountValue DeleteRowsCols DeleteRows Rank "
       "Covariance Correlation Concatenate EigenValuesAndVectors determinant IsSingular "
       "Cholesky IsPositiveDefinite ValuesAsVector SolveEquation ForwardSubstitution "
       "BackwardSubstitution QuickSortWithThreshold"},
      {"CVMatrix",
       "SetSize RowCount ColumnCount IsNull IsEqual Item Values ToString ToArray FillFromArray "
       "DeleteRow DeleteColumn InsertRows InsertColumns Column row SubMatrix Sort Rank"},
      {"CDescriptives", "Data Counts"},
  };
  for (const auto& [name, members] : documented) {
    const ClassInfo& cls = *ClassNamed(name);
    std::istringstream in(members);
    DispId id = 0;
    for (std::string member; in >> member;)
      EXPECT_EQ(cls.IdOf(member), ++id) << name << "." << member;
    EXPECT_EQ(cls.Find(id + 1), nullptr) << name << " has members beyond " << id;
  }
}

TEST(Dispatch, AClientBuildsAWorkbookAndHandsItToTheLibrary) {
  test::SavedSharedState saved;
  saved.Save();
  ObjectPtr app = CreateObject("ORVMain.Application");
  V none;
  ObjectPtr books = ObjectOf(Invoke(app, "Workbooks", G, none));
  Invoke(books, "Add", M, none);
  V ref{S("A1:A3")}, column{Variant(A({{1}, {2}, {4}}))}, handle{Variant(app)};
  ObjectPtr range = ObjectOf(Invoke(app, "Range", M, ref));
  Invoke(range, "Value", P, column);
  Invoke(GlobalInstance("ORVMain.clsMain"), "Excel", PR, handle);
  V check{Variant(range), B(true)};
  // A1 the header, two numbers below it: one column of data.
  EXPECT_EQ(Print(Invoke(CreateObject("clsValidation"), "ValidateInputRange", M, check)),
            Print(Variant(Integer{1})));
  EXPECT_EQ(Print(Invoke(range, "Address", G, none)), Print(S("$A$1:$A$3")));
  saved.Restore();
}

}  // namespace
}  // namespace orv::automation
