// Sorting through the workbook: the array is written onto the add-in's
// "Scratchpad" worksheet, sorted there by Range.Sort and read back.
#include "orv/arrays/clsMatrix.hpp"
#include "orv/excel/Application.hpp"
#include "orv/excel/WorksheetFunction.hpp"

namespace orv {

namespace {

constexpr Member kSort{Rule::Plain, "clsMatrix", "Sort"};
constexpr Member kVariantSort{Rule::Plain, "clsMatrix", "VariantSort"};

// The scratch sheet of the add-in, open as "orvUI2007.xla" or, failing
// that, as "Orvanta.xla"; cleared. The second lookup's failure is the
// caller's.
excel::Worksheet Scratchpad(const excel::Application& app) {
  excel::Worksheet sheet;
  if (!ResumeNext([&] { sheet = app.Workbooks("orvUI2007.xla").Worksheets("Scratchpad"); })) {
    sheet = app.Workbooks("Orvanta.xla").Worksheets("Scratchpad");
  }
  sheet.Cells().Clear();
  return sheet;
}

// UBound of a dimension, or the fallback when the array does not have it.
template <class A>
Long BoundOr(const A& array, int dimension, Long fallback, bool& failed) {
  Long bound = fallback;
  failed = !ResumeNext([&] { bound = array.UBound(dimension); });
  return bound;
}

// The block at the top left of the scratch sheet sorted on the given column
// in this order, top to bottom, without a header row.
void SortBlock(const excel::Worksheet& sheet, const excel::Range& block, Integer column,
               std::int32_t order) {
  block.Sort(sheet.Cells(1, column), order, excel::Range(), excel::xlAscending, excel::Range(),
             excel::xlAscending, excel::xlNo, excel::xlTopToBottom);
}

}  // namespace

void clsMatrix::Sort(ByRef<Array<double>> Matrix, Boolean Transpose, Integer Column) const {
  Guard(kSort, [&](Line& line) {
    line = 10;
    const excel::Application app = excel::CurrentApplication();
    const excel::Worksheet sheet = Scratchpad(app);
    bool failed = false;
    if (Transpose) {
      line = 20;
      const Long r = BoundOr(*Matrix, 1, 1, failed);
      const Long c = Matrix->UBound(2);
      line = 30;
      const excel::Range block = sheet.Range(sheet.Cells(1, 1), sheet.Cells(c, r));
      block.LetValue(Variant(this->Transpose(*Matrix)));
      line = 40;
      SortBlock(sheet, block, Column, excel::xlDescending);
      line = 50;
      *Matrix = VariantToArray(app.WorksheetFunction().Transpose(block.Value()));
      // A single row comes back from the worksheet function as a 1-D array.
      if (r == 1) *Matrix = this->Transpose(*Matrix);
    } else {
      line = 60;
      const Long c = BoundOr(*Matrix, 2, 1, failed);
      const Long r = Matrix->UBound(1);
      line = 70;
      const excel::Range block = sheet.Range(sheet.Cells(1, 1), sheet.Cells(r, c));
      block.LetValue(Variant(*Matrix));
      line = 80;
      SortBlock(sheet, block, Column, excel::xlAscending);
      line = 90;
      *Matrix = VariantToArray(block.Value());
    }
  });
}

void clsMatrix::VariantSort(ByRef<Variant> Matrix, Boolean Transpose, Integer Column) const {
  Guard(kVariantSort, [&](Line& line) {
    line = 10;
    const excel::Application app = excel::CurrentApplication();
    const excel::Worksheet sheet = Scratchpad(app);
    bool failed = false;
    if (Transpose) {
      line = 20;
      const Long r = BoundOr(*Matrix, 1, 1, failed);
      if (failed) *Matrix = VariantMakeMatrix(*Matrix);
      const Long c = Matrix->UBound(2);
      line = 30;
      const excel::Range block = sheet.Range(sheet.Cells(1, 1), sheet.Cells(c, r));
      block.LetValue(VariantTranspose(*Matrix));
      line = 40;
      SortBlock(sheet, block, Column, excel::xlDescending);
      line = 50;
      *Matrix = VariantTranspose(block.Value());
    } else {
      line = 60;
      const Long c = BoundOr(*Matrix, 2, 1, failed);
      if (failed) *Matrix = VariantMakeMatrix(*Matrix);
      const Long r = Matrix->UBound(1);
      line = 70;
      const excel::Range block = sheet.Range(sheet.Cells(1, 1), sheet.Cells(r, c));
      block.LetValue(*Matrix);
      line = 80;
      SortBlock(sheet, block, Column, excel::xlAscending);
      line = 90;
      *Matrix = block.Value();
    }
  });
}

}  // namespace orv
