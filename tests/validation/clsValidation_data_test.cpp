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

// A failure number of the library's own, raised without a text or a
// source (the members here have no handler).
#define EXPECT_RAISES(statement, number) \
  EXPECT_FAILURE(statement, number, "ORVMain", kNoDescription)

class DataValidation : public ValidationWorkbook {
 protected:
  void Fill(const char* reference, const std::function<Variant(int, int)>& f) const {
    const excel::Range r = R(reference);
    const int rows = r.Rows().Count(), columns = r.Columns().Count();
    Array<Variant> values(1, rows, 1, columns);
    for (int i = 1; i <= rows; ++i)
      for (int j = 1; j <= columns; ++j) values(i, j) = f(i, j);
    r.LetValue(Variant(std::move(values)));
  }
  void Numbers(const char* reference) const {
    Fill(reference, [](int i, int j) { return Variant(double(i * 3 + j)); });
  }
};

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
  EXPECT_RAISES(Check(excel::Range(), false), role.no_range);
  Put("A1:B1", Variant("name"));
  EXPECT_RAISES(Check(R("A1:B1"), true), role.no_data);
  EXPECT_RAISES(Check(R("H1:H5"), false), role.no_data);
  // One column without a number, even though the other has them: no data,
  // ahead of the blanks.
  Numbers("A2:A6");
  Put("B2:B6", Variant("text"));
  EXPECT_RAISES(Check(R("A1:B6"), true), role.no_data);
  EXPECT_RAISES(Check(R("A2:A6,B2:B6"), false), role.no_data);
}

TEST_P(NumericDataRoles, TooFewRowsAndUnevenAreas) {
  const NumericRoleCase& role = std::get<0>(GetParam());
  Put("A1:C1", Variant("name"));
  Numbers("A2:B10");
  Numbers("C2:C7");
  // Headers and 10 rows: 9 cases.
  EXPECT_EQ(Check(R("A1:B10"), true, 9), 2);
  EXPECT_RAISES(Check(R("A1:B10"), true, 10), role.too_few_rows);
  EXPECT_EQ(Check(R("A2:B10"), false, 9), 2);
  EXPECT_RAISES(Check(R("A2:B10"), false, 10), role.too_few_rows);
  // Areas of 10 and 7 rows.
  EXPECT_RAISES(Check(R("A1:B10,C1:C7"), true), role.uneven);
  EXPECT_EQ(Check(R("A1:B10,C1:C7"), true, 6, false, false, false, false, true), 3);
  // Allowed to be uneven, each column still needs MinCases numbers.
  EXPECT_RAISES(Check(R("A1:B10,C1:C7"), true, 7, false, false, false, false, true),
                role.too_few_rows);
  Put("B4", Variant());
  EXPECT_RAISES(Check(R("A1:B10"), true, 9, false, false, false, true, true), role.too_few_rows);
}

TEST_P(NumericDataRoles, BlanksVarianceWholeAndNonNegative) {
  const NumericRoleCase& role = std::get<0>(GetParam());
  Numbers("A1:B6");
  EXPECT_EQ(Check(R("A1:B6"), false, 6, true, true, true), 2);
  Put("A3", Variant());
  EXPECT_RAISES(Check(R("A1:B6"), false), role.blank);
  EXPECT_EQ(Check(R("A1:B6"), false, 0, true, true, true, true), 2);
  Put("A3", Variant("label"));
  EXPECT_RAISES(Check(R("A1:B6"), false, 0, false, false, false, true), role.blank);
  Put("A3", Variant(true));
  EXPECT_RAISES(Check(R("A1:B6"), false, 0, false, false, false, true), role.blank);
  Put("A3", Variant(4.0));
  Put("B1:B6", Variant(7.0));
  EXPECT_RAISES(Check(R("A1:B6"), false, 0, true), role.no_variance);
  Put("B5", Variant(7.25));
  EXPECT_RAISES(Check(R("A1:B6"), false, 0, true, true), role.non_integer);
  Put("B5", Variant(-7.0));
  EXPECT_EQ(Check(R("A1:B6"), false, 0, true, true), 2);
  EXPECT_RAISES(Check(R("A1:B6"), false, 0, true, true, true), role.negative);
  EXPECT_RAISES(Check(R("A1:B6"), false, 0, false, false, true), role.negative);
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
  EXPECT_EQ(v.ValidateNumericData(R("A1:A5,C1:D5"), false, Y), 3);
  // A blank in the first area is found before the second area is looked
  // at, even when the second has no numbers at all.
  Put("A3", Variant());
  EXPECT_RAISES(v.ValidateNumericData(R("A1:A5,F1:F5"), false, Y), orvErrBlankYCells);
  Put("A3", Variant(1.0));
  EXPECT_RAISES(v.ValidateNumericData(R("A1:A5,F1:F5"), false, Y), orverrNoNumericalYData);
  // Within an area: uneven before blanks.
  Put("D2", Variant());
  EXPECT_RAISES(v.ValidateNumericData(R("A1:A5,C1:D4"), false, Y), orvErrUnevenYRanges);
  // A negative value in the first area is found before a fraction in the
  // second, both tests being on.
  Put("D2", Variant(2.0));
  Put("A2", Variant(-2.0));
  Put("C4", Variant(0.5));
  EXPECT_RAISES(v.ValidateNumericData(R("A1:A5,C1:D5"), false, Y, false, 0, false, true, true),
                orvErrNegativeY);
  EXPECT_RAISES(v.ValidateNumericData(R("A1:A5,C1:D5"), false, Y, false, 0, false, true),
                orvErrNonYInteger);
}

TEST_F(DataValidation, NumericDataPassesOnWorkbookFailures) {
  const auto Z = ORVNumericDataType::ZData;
  Put("A1:B1", Variant("z"));
  Numbers("A2:B2");
  // One case: the workbook's Var fails, with its own source.
  EXPECT_FAILURE(v.ValidateNumericData(R("A1:B2"), true, Z, false, 0, true), 1004,
                 "Microsoft Excel",
                 "Unable to get the Var property of the WorksheetFunction class");
  Shared().ExcelApplication = nullptr;
  EXPECT_FAILURE(v.ValidateNumericData(R("A1:B2"), true, Z), 91, "ORVMain", kNotSet);
  // Checks before the first use of the application still answer.
  EXPECT_RAISES(v.ValidateNumericData(R("A1:B1"), true, Z), orvErrNoNumericalZData);
  EXPECT_RAISES(v.ValidateNumericData(excel::Range(), true, Z), orvErrNoZRange);
}

TEST_F(DataValidation, NumericDataOfAnUnknownRole) {
  const auto unknown = static_cast<ORVNumericDataType>(7);
  Numbers("A1:B4");
  EXPECT_EQ(v.ValidateNumericData(R("A1:B4"), false, unknown), 2);
  Put("B2", Variant());
  EXPECT_FAILURE(v.ValidateNumericData(R("A1:B4"), false, unknown), kErrInvalidCall, "ORVMain",
                 "Invalid procedure call or argument");
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
  EXPECT_RAISES(v.ValidateStringData(R("A1:B1"), true, role.type), role.no_data);
  EXPECT_EQ(v.ValidateStringData(R("A1:B5"), true, role.type, false, 4), Variant(Long{2}));
  EXPECT_RAISES(v.ValidateStringData(R("A1:B5"), true, role.type, false, 5), role.too_few_rows);
  EXPECT_RAISES(v.ValidateStringData(R("A1:B5,C1:C4"), true, role.type), role.uneven);
  EXPECT_RAISES(v.ValidateStringData(R("A1:C5"), true, role.type), role.blank);
  EXPECT_EQ(v.ValidateStringData(R("A1:C5"), true, role.type, false, 0, true), Variant(Long{3}));
  // A variable without a value is no data even when blanks are allowed.
  EXPECT_RAISES(v.ValidateStringData(R("A1:D5"), true, role.type, false, 0, true), role.no_data);
  EXPECT_RAISES(v.ValidateStringData(R("A1:D5"), true, role.type), role.blank);
}

INSTANTIATE_TEST_SUITE_P(EveryRole, StringDataRoles, ::testing::ValuesIn(kStringRoles),
                         [](const ::testing::TestParamInfo<StringRoleCase>& info) {
                           return std::string(info.param.name);
                         });

TEST_F(DataValidation, StringDataInRowsWithAHeaderColumn) {
  const auto factor = ORVStringDataType::FactorData;
  Put("A1:A3", Variant("name"));
  Put("B1:E3", Variant("level"));
  const Variant three = v.ValidateStringData(R("A1:E3"), true, factor, true, 4);
  EXPECT_EQ(three.Type(), VarType::Long);
  EXPECT_EQ(three, Variant(Long{3}));
  EXPECT_RAISES(v.ValidateStringData(R("A1:E3"), true, factor, true, 5), orvErrTooFewFactorRows);
  // Without the header column every cell is data.
  EXPECT_EQ(v.ValidateStringData(R("A1:E3"), false, factor, true), Variant(Long{3}));
  EXPECT_EQ(v.ValidateStringData(R("A1:E3"), false, factor), Variant(Long{5}));
  // Areas must be as wide as the first.
  Put("A6:E6", Variant("level"));
  EXPECT_EQ(v.ValidateStringData(R("A1:E3,A6:E6"), true, factor, true), Variant(Long{4}));
  EXPECT_RAISES(v.ValidateStringData(R("A1:E3,A6:D6"), true, factor, true),
                orvErrUnevenFactorRanges);
  // A blank row is no data, blanks allowed or not.
  Put("B2:E2", Variant());
  EXPECT_RAISES(v.ValidateStringData(R("A1:E3"), true, factor, true, 0, true), orvErrNoFactorData);
  EXPECT_RAISES(v.ValidateStringData(R("A1:E3"), true, factor, true), orvErrBlankFactorCells);
  Put("C2", Variant("x"));
  EXPECT_EQ(v.ValidateStringData(R("A1:E3"), true, factor, true, 0, true), Variant(Long{3}));
}

TEST_F(DataValidation, StringDataFailuresWithoutAHandler) {
  Put("A1:A4", Variant("a"));
  EXPECT_FAILURE(v.ValidateStringData(excel::Range(), false, ORVStringDataType::FactorData), 91,
                 "ORVMain", kNotSet);
  const auto unknown = static_cast<ORVStringDataType>(0);
  EXPECT_EQ(v.ValidateStringData(R("A1:A4"), false, unknown), Variant(Long{1}));
  EXPECT_FAILURE(v.ValidateStringData(R("A1:A5"), false, unknown), kErrInvalidCall, "ORVMain",
                 "Invalid procedure call or argument");
  Shared().ExcelApplication = nullptr;
  EXPECT_FAILURE(v.ValidateStringData(R("A1:A4"), false, ORVStringDataType::NonNumericData), 91,
                 "ORVMain", kNotSet);
  EXPECT_RAISES(v.ValidateStringData(R("A1"), true, ORVStringDataType::NonNumericData),
                orvErrNODATA);
}

// --- ValidatePairedData ---

TEST_F(DataValidation, PairedDataComesInPairsOfEqualLength) {
  Numbers("A1:A10");
  Numbers("B1:B10");
  Numbers("C1:C8");
  Numbers("D1:D8");
  const Variant passed = v.ValidatePairedData(R("A1:D10"), false);
  EXPECT_TRUE(passed.IsEmpty());
  EXPECT_RAISES(v.ValidatePairedData(R("A1:C10"), false), orvErrUnevenVariableRanges);
  Put("B10", Variant());
  EXPECT_RAISES(v.ValidatePairedData(R("A1:D10"), false), orvErrUnevenXYRange);
  // Text, Booleans and error values are entries too.
  Put("B10", Variant(ErrorValue{excel::xlErrNA}));
  Put("D3", Variant("x"));
  EXPECT_TRUE(v.ValidatePairedData(R("A1:D10"), false).IsEmpty());
  // Pairs run across areas.
  EXPECT_TRUE(v.ValidatePairedData(R("A1:A10,B1:D10"), false).IsEmpty());
  EXPECT_RAISES(v.ValidatePairedData(R("A1:A10,C1:D10"), false), orvErrUnevenVariableRanges);
  EXPECT_RAISES(v.ValidatePairedData(R("A1:A10,C1:C10"), false), orvErrUnevenXYRange);
}

TEST_F(DataValidation, PairedDataHeadersAndRows) {
  Put("A1", Variant("before"));
  Numbers("A2:B6");
  EXPECT_TRUE(v.ValidatePairedData(R("A1:B6"), true).IsEmpty());
  EXPECT_RAISES(v.ValidatePairedData(R("A1:B6"), false), orvErrUnevenXYRange);
  // In rows: a header column, and variables are rows.
  Put("D1:D2", Variant("name"));
  Numbers("E1:H2");
  EXPECT_TRUE(v.ValidatePairedData(R("D1:H2"), true, true).IsEmpty());
  EXPECT_RAISES(v.ValidatePairedData(R("D1:H3"), true, true), orvErrUnevenVariableRanges);
  Put("H2", Variant());
  EXPECT_RAISES(v.ValidatePairedData(R("D1:H2"), true, true), orvErrUnevenXYRange);
}

TEST_F(DataValidation, PairedDataWithoutApplicationOrRange) {
  Numbers("A1:B3");
  EXPECT_FAILURE(v.ValidatePairedData(excel::Range(), false), 91, "ORVMain", kNotSet);
  Shared().ExcelApplication = nullptr;
  // An odd count is found without the application.
  EXPECT_RAISES(v.ValidatePairedData(R("A1:C3"), false), orvErrUnevenVariableRanges);
  EXPECT_FAILURE(v.ValidatePairedData(R("A1:B3"), false), 91, "ORVMain", kNotSet);
}

// --- ValidateSymemtricMatrix ---

namespace {

const char* kSym = "ValidateSymemtricMatrix";

}  // namespace

TEST_F(DataValidation, SymmetricMatrixShape) {
  Fill("A1:D4", [](int i, int j) { return Variant(i == j ? 1.0 : 0.5 / (i + j)); });
  EXPECT_EQ(v.ValidateSymemtricMatrix(R("A1:D4"), false, ORVMatrixType::Symmetric), 4);
  EXPECT_EQ(v.ValidateSymemtricMatrix(R("A1:D4"), false, ORVMatrixType::Correlation), 4);
  EXPECT_EQ(v.ValidateSymemtricMatrix(R("A1:D4"), false, ORVMatrixType::Covariance), 4);
  // A 3 x 4 block fails before any cell is compared (text would be 13).
  Put("B1", Variant("text"));
  EXPECT_FAILURE(v.ValidateSymemtricMatrix(R("A2:D4"), false, ORVMatrixType::Symmetric),
                 orvErrMatrixNotSymmetric, At(50, kSym), kNoDescription);
  EXPECT_FAILURE(v.ValidateSymemtricMatrix(R("A1:D4"), false, ORVMatrixType::Symmetric),
                 kErrTypeMismatch, At(60, kSym), "Type mismatch");
  // Headers: the first row names the variables.
  Put("F1:H1", Variant("name"));
  Fill("F2:H4", [](int i, int j) { return Variant(i == j ? 1.0 : 0.5 / (i + j)); });
  EXPECT_EQ(v.ValidateSymemtricMatrix(R("F1:H4"), true, ORVMatrixType::Correlation), 3);
  EXPECT_FAILURE(v.ValidateSymemtricMatrix(R("F1:H4"), false, ORVMatrixType::Symmetric),
                 orvErrMatrixNotSymmetric, At(50, kSym), kNoDescription);
  Put("H3", Variant());
  EXPECT_FAILURE(v.ValidateSymemtricMatrix(R("F1:H4"), true, ORVMatrixType::Symmetric),
                 orvErrBlankYCells, At(30, kSym), kNoDescription);
  // One cell.
  EXPECT_EQ(v.ValidateSymemtricMatrix(R("D4"), false, ORVMatrixType::Correlation), 1);
  Put("D4", Variant(-2.0));
  EXPECT_FAILURE(v.ValidateSymemtricMatrix(R("D4"), false, ORVMatrixType::Covariance),
                 orvErrMatrixNotCovariance, At(70, kSym), kNoDescription);
}

TEST_F(DataValidation, SymmetricMatrixComparesInSinglePrecision) {
  Fill("A1:C3", [](int i, int j) { return Variant(i == j ? 1.0 : 0.3); });
  Put("C2", Variant(0.30000001));
  EXPECT_EQ(v.ValidateSymemtricMatrix(R("A1:C3"), false, ORVMatrixType::Symmetric), 3);
  Put("C2", Variant(0.3001));
  EXPECT_FAILURE(v.ValidateSymemtricMatrix(R("A1:C3"), false, ORVMatrixType::Symmetric),
                 orvErrMatrixNotSymmetric, At(60, kSym), kNoDescription);
  Put("C2", Variant(0.3));
  Put("B2", Variant(0.99999999));
  EXPECT_EQ(v.ValidateSymemtricMatrix(R("A1:C3"), false, ORVMatrixType::Correlation), 3);
  Put("B2", Variant(0.9999999));
  EXPECT_FAILURE(v.ValidateSymemtricMatrix(R("A1:C3"), false, ORVMatrixType::Correlation),
                 orvErrMatrixNotCorrelation, At(70, kSym), kNoDescription);
  EXPECT_EQ(v.ValidateSymemtricMatrix(R("A1:C3"), false, ORVMatrixType::Covariance), 3);
  Put("B2", Variant(0.0));
  EXPECT_EQ(v.ValidateSymemtricMatrix(R("A1:C3"), false, ORVMatrixType::Covariance), 3);
  Put("B2", Variant(-0.1));
  EXPECT_FAILURE(v.ValidateSymemtricMatrix(R("A1:C3"), false, ORVMatrixType::Covariance),
                 orvErrMatrixNotCovariance, At(70, kSym), kNoDescription);
  EXPECT_EQ(v.ValidateSymemtricMatrix(R("A1:C3"), false, ORVMatrixType::Symmetric), 3);
}

TEST_F(DataValidation, SymmetricMatrixValuesThatAreNotNumbers) {
  Fill("A1:B2", [](int i, int j) { return Variant(i == j ? 1.0 : 0.25); });
  // Numeric text converts; Booleans are -1 and 0.
  Put("B1", Variant("0.25"));
  EXPECT_EQ(v.ValidateSymemtricMatrix(R("A1:B2"), false, ORVMatrixType::Correlation), 2);
  Put("B1", Variant(true));
  Put("A2", Variant(-1.0));
  EXPECT_EQ(v.ValidateSymemtricMatrix(R("A1:B2"), false, ORVMatrixType::Symmetric), 2);
  Put("A2", Variant(ErrorValue{excel::xlErrNA}));
  EXPECT_FAILURE(v.ValidateSymemtricMatrix(R("A1:B2"), false, ORVMatrixType::Symmetric),
                 kErrTypeMismatch, At(60, kSym), "Type mismatch");
  // The diagonal is only read by the correlation and covariance tests.
  Put("B1", Variant(0.5));
  Put("A2", Variant(0.5));
  Put("B2", Variant("n/a"));
  EXPECT_EQ(v.ValidateSymemtricMatrix(R("A1:B2"), false, ORVMatrixType::Symmetric), 2);
  EXPECT_FAILURE(v.ValidateSymemtricMatrix(R("A1:B2"), false, ORVMatrixType::Correlation),
                 kErrTypeMismatch, At(70, kSym), "Type mismatch");
  EXPECT_FAILURE(v.ValidateSymemtricMatrix(R("A1:B2"), false, ORVMatrixType::Covariance),
                 kErrTypeMismatch, At(70, kSym), "Type mismatch");
  Put("B2", Variant("-0.5"));
  EXPECT_FAILURE(v.ValidateSymemtricMatrix(R("A1:B2"), false, ORVMatrixType::Covariance),
                 orvErrMatrixNotCovariance, At(70, kSym), kNoDescription);
  Put("B2", Variant(true));  // True is -1
  EXPECT_FAILURE(v.ValidateSymemtricMatrix(R("A1:B2"), false, ORVMatrixType::Covariance),
                 orvErrMatrixNotCovariance, At(70, kSym), kNoDescription);
}

TEST_F(DataValidation, SymmetricMatrixOfNoRows) {
  // Headers on one row: the block reaches the row below; with a header
  // text in it the count of filled cells is not 0 x c.
  EXPECT_FAILURE(v.ValidateSymemtricMatrix(R("A1:C1"), true, ORVMatrixType::Symmetric),
                 orvErrNoNumericalData, At(40, kSym), kNoDescription);
  Put("A1", Variant("name"));
  EXPECT_FAILURE(v.ValidateSymemtricMatrix(R("A1:C1"), true, ORVMatrixType::Symmetric),
                 orvErrBlankYCells, At(30, kSym), kNoDescription);
}

TEST_F(DataValidation, SymmetricMatrixSizesAreSixteenBit) {
  auto unit = [](int i, int j) { return Variant(i == j ? 1.0 : 1.0 / (i + j)); };
  Fill("A1:FY181", unit);  // 181 x 181
  EXPECT_EQ(v.ValidateSymemtricMatrix(R("A1:FY181"), false, ORVMatrixType::Correlation), 181);
  Fill("A1:FZ182", unit);  // 182 x 182: 33,124 cells
  EXPECT_FAILURE(v.ValidateSymemtricMatrix(R("A1:FZ182"), false, ORVMatrixType::Correlation),
                 kErrOverflow, At(30, kSym), "Overflow");
  Put("A1:FZ1", Variant("name"));
  EXPECT_FAILURE(v.ValidateSymemtricMatrix(R("A1:FZ183"), true, ORVMatrixType::Correlation),
                 kErrOverflow, At(30, kSym), "Overflow");
  EXPECT_FAILURE(v.ValidateSymemtricMatrix(R("A1:A40000"), false, ORVMatrixType::Symmetric),
                 kErrOverflow, At(10, kSym), "Overflow");
}

TEST_F(DataValidation, SymmetricMatrixWithoutApplicationOrRange) {
  Fill("A1:B2", [](int, int) { return Variant(1.0); });
  EXPECT_FAILURE(v.ValidateSymemtricMatrix(excel::Range(), false, ORVMatrixType::Symmetric), 91,
                 At(10, kSym), kNotSet);
  Shared().ExcelApplication = nullptr;
  EXPECT_FAILURE(v.ValidateSymemtricMatrix(R("A1:B2"), false, ORVMatrixType::Symmetric), 91,
                 At(20, kSym), kNotSet);
}
