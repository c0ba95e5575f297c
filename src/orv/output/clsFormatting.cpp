#include "orv/output/clsFormatting.hpp"

#include "orv/excel/Application.hpp"

namespace orv {

namespace {

const Settings& Theme() { return Shared().Properties; }
const ExcelConstants& Xl() { return Shared().Constants; }


// Bold, italic, font colour and fill of a block, each its own statement.
void SetFontAndFill(const excel::Range& rng, bool bold, bool italic, Long fore, Long back) {
  ResumeNext([&] { rng.Font().LetBold(bold); });
  ResumeNext([&] { rng.Font().LetItalic(italic); });
  ResumeNext([&] { rng.Font().LetColor(fore); });
  ResumeNext([&] { rng.Interior().LetColor(back); });
}

// LineStyle and weight of one edge, each its own statement.
void SetEdge(const excel::Range& rng, Long edge, Long weight) {
  ResumeNext([&] { rng.Borders(edge).LetLineStyle(Xl().xlContinuous); });
  ResumeNext([&] { rng.Borders(edge).LetWeight(weight); });
}

}  // namespace

void clsFormatting::SetHeaders(const excel::Range& rng, Boolean vertical) const {
  const Settings& s = Theme();
  SetFontAndFill(rng, s.HeadersBold, s.HeadersItalic, s.HeaderForeColour, s.HeaderBackColour);
  SetEdge(rng, Xl().xlEdgeTop, Xl().xlMedium);
  SetEdge(rng, Xl().xlEdgeBottom, Xl().xlThin);
  if (!vertical) {
    ResumeNext([&] { rng.LetWrapText(s.HeaderWrap); });
    ResumeNext([&] { rng.LetHorizontalAlignment(s.HeaderAlign); });
  } else {
    ResumeNext([&] { rng.Borders(Xl().xlEdgeBottom).LetWeight(Xl().xlMedium); });
  }
}

void clsFormatting::SetData(const excel::Range& rng, Boolean DontAlignCol1) const {
  const Settings& s = Theme();
  SetFontAndFill(rng, s.DataBold, s.DataItalic, s.DataForeColour, s.DataBackColour);
  ResumeNext([&] { rng.LetNumberFormat(s.DecimalPlaces); });
  ResumeNext([&] { rng.LetHorizontalAlignment(Xl().xlHAlignRight); });
  SetEdge(rng, Xl().xlEdgeTop, Xl().xlThin);
  SetEdge(rng, Xl().xlEdgeBottom, Xl().xlMedium);
  if (DontAlignCol1) ResumeNext([&] { rng.Columns(1).LetHorizontalAlignment(Xl().xlHAlignLeft); });
}

void clsFormatting::SetTitles(const excel::Range& rng, Boolean Summary) const {
  const Settings& s = Theme();
  if (!Summary) {
    SetFontAndFill(rng, s.TitlesBold, s.TitlesItalic, s.TitleForeColour, s.TitleBackColour);
  } else {
    // Every row of rng, from its first column across 256 columns.
    excel::Range block(Nothing);
    ResumeNext([&] { block = excel::CurrentApplication().Range(rng.Cells(1, 1), rng.Cells(rng.Rows().Count(), 256)); });
    SetFontAndFill(block, s.SummaryBold, s.SummaryItalic, s.SummaryForeColour, s.SummaryBackColour);
  }
}

void clsFormatting::FormatRange(const excel::Range& rngOutput, ByRef<Integer> HeaderRows) const {
  ResumeNext([&] {
    if (*HeaderRows == INT16_MAX) Raise(kErrOverflow);
    *HeaderRows = static_cast<Integer>(*HeaderRows + 1);
  });
  ResumeNext([&] { rngOutput.Clear(); });
  ResumeNext([&] { rngOutput.LetNumberFormat("0.000"); });
  ResumeNext([&] { rngOutput.LetHorizontalAlignment(Xl().xlHAlignRight); });
  ResumeNext([&] { rngOutput.Columns(1).LetHorizontalAlignment(Xl().xlHAlignGeneral); });

  excel::Range header(Nothing);
  ResumeNext([&] {
    header = excel::CurrentApplication().Range(rngOutput.Cells(1, 1),
                         rngOutput.Cells(*HeaderRows, rngOutput.Columns().Count()));
  });
  ResumeNext([&] { header.Font().LetItalic(true); });
  ResumeNext([&] { header.Font().LetColor(Long{16711680}); });
  ResumeNext([&] { header.LetNumberFormat("@"); });
  SetEdge(header, Xl().xlEdgeTop, Xl().xlMedium);
  SetEdge(header, Xl().xlEdgeBottom, Xl().xlMedium);

  excel::Range last(Nothing);
  ResumeNext([&] { last = rngOutput.Rows(rngOutput.Rows().Count()); });
  SetEdge(last, Xl().xlEdgeBottom, Xl().xlMedium);
}

}  // namespace orv
