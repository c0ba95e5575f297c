// The data checks that answer with the data's shape: numeric data by role,
// string data by columns or rows, paired variables, symmetric matrices.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "orv/excel/excel.hpp"
#include "orv/validation/clsValidation.hpp"
#include "validation_test_util.hpp"

using namespace orv;

namespace {

using namespace orv::test;

const char* kNone = kNoDescription;  // the library's own numbers carry no text

class DataValidation : public ValidationWorkbook {
 protected:
  template <class... A>
  Long Numeric(const char* reference, A... a) const {
    return v.ValidateNumericData(R(reference), a...);
  }
  template <class... A>
  Variant Strings(const char* reference, A... a) const {
    return v.ValidateStringData(R(reference), a...);
  }
  template <class... A>
  Variant Paired(const char* reference, A... a) const {
    return v.ValidatePairedData(R(reference), a...);
  }
  Integer Sym(const char* reference, ORVMatrixType type, bool headers = false) const {
    return v.ValidateSymemtricMatrix(R(reference), headers, type);
  }
  static std::string SymAt(int line) { return At(line, "ValidateSymemtricMatrix"); }
};

constexpr auto kSymmetric = ORVMatrixType::Symmetric;
constexpr auto kCorrelation = ORVMatrixType::Correlation;
constexpr auto kCovariance = ORVMatrixType::Covariance;

// --- ValidateNumericData: the failure numbers of each role ---

struct NumericRoleCase {
  const char* name;
  ORVNumericDataType type;
  std::int32_t no_range, no_data, too_few_rows, uneven, blank, no_variance, non_integer, negative;
};

const NumericRoleCase kNumericRoles[] = {
    {"X", ORVNumericDataType::XData, orvErrNoXRange, orvErrNoNumericalXData, orvErrTooFewXRows,
     orvErrUnevenXRanges, orvErrBLANKXCELLS, orvErrNoXVariance, orvErrNonXInteger, orvErrNegativeX},
    {"Y", ORVNumericDataType::YData, orvErrNoYRange, orverrNoNumericalYData, orvErrTooFewYRows,
     orvErrUnevenYRanges, orvErrBlankYCells, orvErrNoYVariance, orvErrNonYInteger, orvErrNegativeY},
    {"Z", ORVNumericDataType::ZData, orvErrNoZRange, orvErrNoNumericalZData, orvErrTooFewZRows,
     orvErrUnevenZRanges, orvErrBlankZCells, orvErrNoZVariance, orvErrNonZInteger, orvErrNegativeZ},
    {"Variable", ORVNumericDataType::variable, orvErrNoVarRange, orvErrNoVariableData,
     orvErrTooFewVariableRows, orvErrUnevenVariableRanges, orvErrBlankVariableCells,
     orvErrNoVariableVariance, orvErrNonVariableInteger, orvErrNegativeVariable},
};

void PrintTo(const NumericRoleCase& c, std::ostream* os) { *os << c.name; }

class NumericDataRoles : public DataValidation,
                         public ::testing::WithParamInterface<std::tuple<NumericRoleCase, bool>> {
 protected:
  // ValidateNumericData with the role of the case and DataInRows as given
  // (it must make no difference).
  template <class... A>
  Long Check(const char* reference, A... a) const {
    return Check(R(reference), a...);
  }
  Long Check(const excel::Range& r, Boolean headers, Long min_cases = 0, Boolean variance = false,
             Boolean whole = false, Boolean positive = false, Boolean ignore_blanks = false,
             Boolean allow_uneven = false) const {
    return v.ValidateNumericData(r, headers, std::get<0>(GetParam()).type, std::get<1>(GetParam()),
                                 min_cases, variance, whole, positive, ignore_blanks, allow_uneven);
  }
};

}  // namespace

TEST_P(NumericDataRoles, NoRangeAndNoNumbers) {
  const NumericRoleCase& role = std::get<0>(GetParam());
  EXPECT_FAILS(role.no_range, "ORVMain", kNone, Check(excel::Range(), false));
  Put("A1:B1", Variant("name"));
  EXPECT_FAILS(role.no_data, "ORVMain", kNone, Check("A1:B1", true));
  EXPECT_FAILS(role.no_data, "ORVMain", kNone, Check("H1:H5", false));
  // One column without a number, even though the other has them: no data,
  // ahead of the blanks.
  Numbers("A2:A6");
  Put("B2:B6", Variant("text"));
  EXPECT_FAILS(role.no_data, "ORVMain", kNone, Check("A1:B6", true));
  EXPECT_FAILS(role.no_data, "ORVMain", kNone, Check("A2:A6,B2:B6", false));
}

TEST_P(NumericDataRoles, TooFewRowsAndUnevenAreas) {
  const NumericRoleCase& role = std::get<0>(GetParam());
  Put("A1:C1", Variant("name"));
  Numbers("A2:B10");
  Numbers("C2:C7");
  // Headers and 10 rows: 9 cases.
  EXPECT_EQ(Check("A1:B10", true, 9), 2);
  EXPECT_FAILS(role.too_few_rows, "ORVMain", kNone, Check("A1:B10", true, 10));
  EXPECT_FAILS(role.too_few_rows, "ORVMain", kNone, Check("A2:B10", false, 10));
  // Areas of 10 and 7 rows.
  EXPECT_FAILS(role.uneven, "ORVMain", kNone, Check("A1:B10,C1:C7", true));
  EXPECT_EQ(Check("A1:B10,C1:C7", true, 6, false, false, false, false, true), 3);
  // Allowed to be uneven, each column still needs MinCases numbers.
  EXPECT_FAILS(role.too_few_rows, "ORVMain", kNone,
               Check("A1:B10,C1:C7", true, 7, false, false, false, false, true));
  Put("B4", Variant());
  EXPECT_FAILS(role.too_few_rows, "ORVMain", kNone,
               Check("A1:B10", true, 9, false, false, false, true, true));
}

TEST_P(NumericDataRoles, BlanksVarianceWholeAndNonNegative) {
  const NumericRoleCase& role = std::get<0>(GetParam());
  Numbers("A1:B6");
  EXPECT_EQ(Check("A1:B6", false, 6, true, true, true), 2);
  Put("A3", Variant());
  EXPECT_FAILS(role.blank, "ORVMain", kNone, Check("A1:B6", false));
  EXPECT_EQ(Check("A1:B6", false, 0, true, true, true, true), 2);
  Put("A3", Variant("label"));
  EXPECT_FAILS(role.blank, "ORVMain", kNone, Check("A1:B6", false, 0, false, false, false, true));
  Put("A3", Variant(4.0));
  Put("B1:B6", Variant(7.0));
  EXPECT_FAILS(role.no_variance, "ORVMain", kNone, Check("A1:B6", false, 0, true));
  Put("B5", Variant(7.25));
  EXPECT_FAILS(role.non_integer, "ORVMain", kNone, Check("A1:B6", false, 0, true, true));
  Put("B5", Variant(-7.0));
  EXPECT_EQ(Check("A1:B6", false, 0, true, true), 2);
  EXPECT_FAILS(role.negative, "ORVMain", kNone, Check("A1:B6", false, 0, true, true, true));
}

INSTANTIATE_TEST_SUITE_P(
    EveryRole, NumericDataRoles,
    ::testing::Combine(::testing::ValuesIn(kNumericRoles), ::testing::Bool()),
    [](const ::testing::TestParamInfo<std::tuple<NumericRoleCase, bool>>& info) {
      return std::string(std::get<0>(info.param).name) +
             (std::get<1>(info.param) ? "_InRows" : "_InColumns");
    });

TEST_F(DataValidation, NumericDataChecksEachAreaInTurn) {
  const auto Y = ORVNumericDataType::YData;
  Numbers("A1:A5");
  Numbers("C1:D5");
  EXPECT_EQ(Numeric("A1:A5,C1:D5", false, Y), 3);
  // A blank in the first area is found before the second area is looked
  // at, even when the second has no numbers at all.
  Put("A3", Variant());
  EXPECT_FAILS(orvErrBlankYCells, "ORVMain", kNone, Numeric("A1:A5,F1:F5", false, Y));
  Put("A3", Variant(1.0));
  EXPECT_FAILS(orverrNoNumericalYData, "ORVMain", kNone, Numeric("A1:A5,F1:F5", false, Y));
  // Within an area: uneven before blanks.
  Put("D2", Variant());
  EXPECT_FAILS(orvErrUnevenYRanges, "ORVMain", kNone, Numeric("A1:A5,C1:D4", false, Y));
  // A negative value in the first area is found before a fraction in the
  // second, both tests being on.
  Put("D2", Variant(2.0));
  Put("A2", Variant(-2.0));
  Put("C4", Variant(0.5));
  EXPECT_FAILS(orvErrNegativeY, "ORVMain", kNone,
               Numeric("A1:A5,C1:D5", false, Y, false, 0, false, true, true));
  EXPECT_FAILS(orvErrNonYInteger, "ORVMain", kNone,
               Numeric("A1:A5,C1:D5", false, Y, false, 0, false, true));
}

TEST_F(DataValidation, NumericDataPassesOnWorkbookFailures) {
  const auto Z = ORVNumericDataType::ZData;
  Put("A1:B1", Variant("z"));
  Numbers("A2:B2");
  // One case: the workbook's Var fails, with its own source.
  EXPECT_FAILS(1004, "Microsoft Excel",
               "Unable to get the Var property of the WorksheetFunction class",
               Numeric("A1:B2", true, Z, false, 0, true));
  Shared().ExcelApplication = nullptr;
  EXPECT_FAILS(91, "ORVMain", kNotSet, Numeric("A1:B2", true, Z));
  // Checks before the first use of the application still answer.
  EXPECT_FAILS(orvErrNoNumericalZData, "ORVMain", kNone, Numeric("A1:B1", true, Z));
  EXPECT_FAILS(orvErrNoZRange, "ORVMain", kNone, v.ValidateNumericData(excel::Range(), true, Z));
}

TEST_F(DataValidation, NumericDataOfAnUnknownRole) {
  const auto unknown = static_cast<ORVNumericDataType>(7);
  Numbers("A1:B4");
  EXPECT_EQ(Numeric("A1:B4", false, unknown), 2);
  Put("B2", Variant());
  EXPECT_FAILS(kErrInvalidCall, "ORVMain", "Invalid procedure call or argument",
               Numeric("A1:B4", false, unknown));
}

// --- ValidateStringData ---

namespace {

struct StringRoleCase {
  const char* name;
  ORVStringDataType type;
  std::int32_t no_data, uneven, too_few_rows, blank;
};

const StringRoleCase kStringRoles[] = {
    {"Factor", ORVStringDataType::FactorData, orvErrNoFactorData, orvErrUnevenFactorRanges,
     orvErrTooFewFactorRows, orvErrBlankFactorCells},
    {"NonNumeric", ORVStringDataType::NonNumericData, orvErrNODATA, orvErrUnevenYRanges,
     orvErrTooFewYRows, orvErrBlankYCells},
};

void PrintTo(const StringRoleCase& c, std::ostream* os) { *os << c.name; }

class StringDataRoles : public DataValidation,
                        public ::testing::WithParamInterface<StringRoleCase> {};

}  // namespace

TEST_P(StringDataRoles, EveryFailureHasTheRoleNumber) {
  const StringRoleCase& role = GetParam();
  Put("A1:C1", Variant("name"));
  Put("A2:B5", Variant("a"));
  Put("C2:C4", Variant(1.0));
  EXPECT_FAILS(role.no_data, "ORVMain", kNone, Strings("A1:B1", true, role.type));
  EXPECT_EQ(Strings("A1:B5", true, role.type, false, 4), Variant(Long{2}));
  EXPECT_FAILS(role.too_few_rows, "ORVMain", kNone, Strings("A1:B5", true, role.type, false, 5));
  EXPECT_FAILS(role.uneven, "ORVMain", kNone, Strings("A1:B5,C1:C4", true, role.type));
  EXPECT_FAILS(role.blank, "ORVMain", kNone, Strings("A1:C5", true, role.type));
  EXPECT_EQ(Strings("A1:C5", true, role.type, false, 0, true), Variant(Long{3}));
  // A variable without a value is no data even when blanks are allowed.
  EXPECT_FAILS(role.no_data, "ORVMain", kNone, Strings("A1:D5", true, role.type, false, 0, true));
  EXPECT_FAILS(role.blank, "ORVMain", kNone, Strings("A1:D5", true, role.type));
}

INSTANTIATE_TEST_SUITE_P(EveryRole, StringDataRoles, ::testing::ValuesIn(kStringRoles),
                         [](const ::testing::TestParamInfo<StringRoleCase>& info) {
                           return std::string(info.param.name);
                         });

TEST_F(DataValidation, StringDataInRowsWithAHeaderColumn) {
  const auto factor = ORVStringDataType::FactorData;
  Put("A1:A3", Variant("name"));
  Put("B1:E3", Variant("level"));
  const Variant three = Strings("A1:E3", true, factor, true, 4);
  EXPECT_EQ(three.Type(), VarType::Long);
  EXPECT_EQ(three, Variant(Long{3}));
  EXPECT_FAILS(orvErrTooFewFactorRows, "ORVMain", kNone, Strings("A1:E3", true, factor, true, 5));
  // Without the header column every cell is data.
  EXPECT_EQ(Strings("A1:E3", false, factor, true), Variant(Long{3}));
  EXPECT_EQ(Strings("A1:E3", false, factor), Variant(Long{5}));
  // Areas must be as wide as the first.
  Put("A6:E6", Variant("level"));
  EXPECT_EQ(Strings("A1:E3,A6:E6", true, factor, true), Variant(Long{4}));
  EXPECT_FAILS(orvErrUnevenFactorRanges, "ORVMain", kNone,
               Strings("A1:E3,A6:D6", true, factor, true));
  // A blank row is no data, blanks allowed or not.
  Put("B2:E2", Variant());
  EXPECT_FAILS(orvErrNoFactorData, "ORVMain", kNone, Strings("A1:E3", true, factor, true, 0, true));
  EXPECT_FAILS(orvErrBlankFactorCells, "ORVMain", kNone, Strings("A1:E3", true, factor, true));
  Put("C2", Variant("x"));
  EXPECT_EQ(Strings("A1:E3", true, factor, true, 0, true), Variant(Long{3}));
}

TEST_F(DataValidation, StringDataFailuresWithoutAHandler) {
  Put("A1:A4", Variant("a"));
  EXPECT_FAILS(91, "ORVMain", kNotSet,
               v.ValidateStringData(excel::Range(), false, ORVStringDataType::FactorData));
  const auto unknown = static_cast<ORVStringDataType>(0);
  EXPECT_FAILS(kErrInvalidCall, "ORVMain", "Invalid procedure call or argument",
               Strings("A1:A5", false, unknown));
  Shared().ExcelApplication = nullptr;
  EXPECT_FAILS(91, "ORVMain", kNotSet, Strings("A1:A4", false, ORVStringDataType::NonNumericData));
  EXPECT_FAILS(orvErrNODATA, "ORVMain", kNone,
               Strings("A1", true, ORVStringDataType::NonNumericData));
}

// --- ValidatePairedData ---

TEST_F(DataValidation, PairedDataComesInPairsOfEqualLength) {
  Numbers("A1:A10");
  Numbers("B1:B10");
  Numbers("C1:C8");
  Numbers("D1:D8");
  EXPECT_TRUE(Paired("A1:D10", false).IsEmpty());
  EXPECT_FAILS(orvErrUnevenVariableRanges, "ORVMain", kNone, Paired("A1:C10", false));
  Put("B10", Variant());
  EXPECT_FAILS(orvErrUnevenXYRange, "ORVMain", kNone, Paired("A1:D10", false));
  // Text, Booleans and error values are entries too.
  Put("B10", Variant(ErrorValue{excel::xlErrNA}));
  Put("D3", Variant("x"));
  EXPECT_TRUE(Paired("A1:D10", false).IsEmpty());
  // Pairs run across areas.
  EXPECT_TRUE(Paired("A1:A10,B1:D10", false).IsEmpty());
  EXPECT_FAILS(orvErrUnevenVariableRanges, "ORVMain", kNone, Paired("A1:A10,C1:D10", false));
  EXPECT_FAILS(orvErrUnevenXYRange, "ORVMain", kNone, Paired("A1:A10,C1:C10", false));
}

TEST_F(DataValidation, PairedDataHeadersAndRows) {
  Put("A1", Variant("before"));
  Numbers("A2:B6");
  EXPECT_TRUE(Paired("A1:B6", true).IsEmpty());
  EXPECT_FAILS(orvErrUnevenXYRange, "ORVMain", kNone, Paired("A1:B6", false));
  // In rows: a header column, and variables are rows.
  Put("D1:D2", Variant("name"));
  Numbers("E1:H2");
  EXPECT_TRUE(Paired("D1:H2", true, true).IsEmpty());
  EXPECT_FAILS(orvErrUnevenVariableRanges, "ORVMain", kNone, Paired("D1:H3", true, true));
  Put("H2", Variant());
  EXPECT_FAILS(orvErrUnevenXYRange, "ORVMain", kNone, Paired("D1:H2", true, true));
}

TEST_F(DataValidation, PairedDataWithoutApplicationOrRange) {
  Numbers("A1:B3");
  EXPECT_FAILS(91, "ORVMain", kNotSet, v.ValidatePairedData(excel::Range(), false));
  Shared().ExcelApplication = nullptr;
  // An odd count is found without the application.
  EXPECT_FAILS(orvErrUnevenVariableRanges, "ORVMain", kNone, Paired("A1:C3", false));
  EXPECT_FAILS(91, "ORVMain", kNotSet, Paired("A1:B3", false));
}

// --- ValidateSymemtricMatrix ---

TEST_F(DataValidation, SymmetricMatrixShape) {
  Fill("A1:D4", [](int i, int j) { return Variant(i == j ? 1.0 : 0.5 / (i + j)); });
  EXPECT_EQ(Sym("A1:D4", kSymmetric), 4);
  // A 3 x 4 block fails before any cell is compared (text would be 13).
  Put("B1", Variant("text"));
  EXPECT_FAILS(orvErrMatrixNotSymmetric, SymAt(50), kNone, Sym("A2:D4", kSymmetric));
  EXPECT_FAILS(kErrTypeMismatch, SymAt(60), "Type mismatch", Sym("A1:D4", kSymmetric));
  // Headers: the first row names the variables.
  Put("F1:H1", Variant("name"));
  Fill("F2:H4", [](int i, int j) { return Variant(i == j ? 1.0 : 0.5 / (i + j)); });
  EXPECT_EQ(Sym("F1:H4", kCorrelation, true), 3);
  EXPECT_FAILS(orvErrMatrixNotSymmetric, SymAt(50), kNone, Sym("F1:H4", kSymmetric));
  Put("H3", Variant());
  EXPECT_FAILS(orvErrBlankYCells, SymAt(30), kNone, Sym("F1:H4", kSymmetric, true));
  // One cell.
  EXPECT_EQ(Sym("D4", kCorrelation), 1);
  Put("D4", Variant(-2.0));
  EXPECT_FAILS(orvErrMatrixNotCovariance, SymAt(70), kNone, Sym("D4", kCovariance));
}

TEST_F(DataValidation, SymmetricMatrixComparesInSinglePrecision) {
  Fill("A1:C3", [](int i, int j) { return Variant(i == j ? 1.0 : 0.3); });
  Put("C2", Variant(0.30000001));
  EXPECT_EQ(Sym("A1:C3", kSymmetric), 3);
  Put("C2", Variant(0.3001));
  EXPECT_FAILS(orvErrMatrixNotSymmetric, SymAt(60), kNone, Sym("A1:C3", kSymmetric));
  Put("C2", Variant(0.3));
  Put("B2", Variant(0.99999999));
  EXPECT_EQ(Sym("A1:C3", kCorrelation), 3);
  Put("B2", Variant(0.9999999));
  EXPECT_FAILS(orvErrMatrixNotCorrelation, SymAt(70), kNone, Sym("A1:C3", kCorrelation));
  EXPECT_EQ(Sym("A1:C3", kCovariance), 3);
  Put("B2", Variant(0.0));
  EXPECT_EQ(Sym("A1:C3", kCovariance), 3);
  Put("B2", Variant(-0.1));
  EXPECT_FAILS(orvErrMatrixNotCovariance, SymAt(70), kNone, Sym("A1:C3", kCovariance));
}

TEST_F(DataValidation, SymmetricMatrixValuesThatAreNotNumbers) {
  Fill("A1:B2", [](int i, int j) { return Variant(i == j ? 1.0 : 0.25); });
  // Numeric text converts; Booleans are -1 and 0.
  Put("B1", Variant("0.25"));
  EXPECT_EQ(Sym("A1:B2", kCorrelation), 2);
  Put("B1", Variant(true));
  Put("A2", Variant(-1.0));
  EXPECT_EQ(Sym("A1:B2", kSymmetric), 2);
  Put("A2", Variant(ErrorValue{excel::xlErrNA}));
  EXPECT_FAILS(kErrTypeMismatch, SymAt(60), "Type mismatch", Sym("A1:B2", kSymmetric));
  // The diagonal is only read by the correlation and covariance tests.
  Put("B1", Variant(0.5));
  Put("A2", Variant(0.5));
  Put("B2", Variant("n/a"));
  EXPECT_EQ(Sym("A1:B2", kSymmetric), 2);
  EXPECT_FAILS(kErrTypeMismatch, SymAt(70), "Type mismatch", Sym("A1:B2", kCorrelation));
  Put("B2", Variant("-0.5"));
  EXPECT_FAILS(orvErrMatrixNotCovariance, SymAt(70), kNone, Sym("A1:B2", kCovariance));
  Put("B2", Variant(true));  // True is -1
  EXPECT_FAILS(orvErrMatrixNotCovariance, SymAt(70), kNone, Sym("A1:B2", kCovariance));
}

TEST_F(DataValidation, SymmetricMatrixOfNoRows) {
  // Headers on one row: the block reaches the row below; with a header
  // text in it the count of filled cells is not 0 x c.
  EXPECT_FAILS(orvErrNoNumericalData, SymAt(40), kNone, Sym("A1:C1", kSymmetric, true));
  Put("A1", Variant("name"));
  EXPECT_FAILS(orvErrBlankYCells, SymAt(30), kNone, Sym("A1:C1", kSymmetric, true));
}

TEST_F(DataValidation, SymmetricMatrixSizesAreSixteenBit) {
  auto unit = [](int i, int j) { return Variant(i == j ? 1.0 : 1.0 / (i + j)); };
  Fill("A1:FY181", unit);  // 181 x 181
  EXPECT_EQ(Sym("A1:FY181", kCorrelation), 181);
  Fill("A1:FZ182", unit);  // 182 x 182: 33,124 cells
  EXPECT_FAILS(kErrOverflow, SymAt(30), "Overflow", Sym("A1:FZ182", kCorrelation));
  Put("A1:FZ1", Variant("name"));
  EXPECT_FAILS(kErrOverflow, SymAt(30), "Overflow", Sym("A1:FZ183", kCorrelation, true));
  EXPECT_FAILS(kErrOverflow, SymAt(10), "Overflow", Sym("A1:A40000", kSymmetric));
}

TEST_F(DataValidation, SymmetricMatrixWithoutApplicationOrRange) {
  Fill("A1:B2", [](int, int) { return Variant(1.0); });
  EXPECT_FAILS(91, SymAt(10), kNotSet,
               v.ValidateSymemtricMatrix(excel::Range(), false, ORVMatrixType::Symmetric));
  Shared().ExcelApplication = nullptr;
  EXPECT_FAILS(91, SymAt(20), kNotSet, Sym("A1:B2", kSymmetric));
}
