// Reads two columns of a sheet, computes their correlation with CMatrix,
// writes a formatted table and a scatter plot with its regression line, and
// saves the workbook as scatter.xlsx.
#include <cstdio>

#include "orv/orv.hpp"

using namespace orv;

int main() try {
  excel::Application app;
  clsMain().SetExcel(app);  // the application every class works through
  UseReadableTheme();       // without it colours are 0: black on black

  const excel::Worksheet sheet = app.Workbooks().Add().Worksheets(1);
  const double height[] = {1.47, 1.50, 1.52, 1.55, 1.57, 1.60, 1.63, 1.65};
  const double weight[] = {52.2, 53.1, 54.5, 55.8, 57.2, 58.6, 59.9, 61.3};
  sheet.Range("A1").LetValue(Variant("Height"));
  sheet.Range("B1").LetValue(Variant("Weight"));
  for (int i = 0; i < 8; ++i) {
    sheet.Cells(i + 2, 1).LetValue(Variant(height[i]));
    sheet.Cells(i + 2, 2).LetValue(Variant(weight[i]));
  }

  // The cases-by-variables array under the names, as a front end reads it.
  const excel::Range data = sheet.Range("A1:B9");
  const Variant read = clsMatrix().ReturnHeadersAndNumericData(data, true);
  CMatrix m;
  m.LetValues(clsMatrix().VariantToArray(read.Element(2)));
  const double r = m.Correlation().Item(1, 2);

  sheet.Range("D1").LetValue(Variant("Correlation"));
  sheet.Range("D2").LetValue(Variant(r));
  sheet.Range("D1").LetColumnWidth(12);
  clsFormatting().SetHeaders(sheet.Range("D1"));
  clsFormatting().SetData(sheet.Range("D2"));

  clsPlotScatter plot;
  plot.SetXValues(sheet.Range("A2:A9"));
  plot.SetYValues(sheet.Range("B2:B9"));
  plot.SetOutputRange(sheet.Range("D4"));
  plot.LetChartTitle("Weight by height");
  plot.LetXAxisTitle("Height (m)");
  plot.LetYAxisTitle("Weight (kg)");
  plot.LetRegression(ORVPSRegCalculate);
  plot.CreatePlot();

  xlsx::SaveXlsx(sheet.Parent(), "scatter.xlsx");
  std::printf("r = %.6f; wrote scatter.xlsx\n", r);
  return 0;
} catch (const Error& e) {
  std::fprintf(stderr, "error %d from %s: %s\n", e.Number, e.Source.c_str(), e.Description.c_str());
  return 1;
}
