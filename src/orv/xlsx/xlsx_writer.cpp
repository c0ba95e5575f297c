#include "orv/xlsx/xlsx_writer.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <xlsxwriter.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <vector>

#include "orv/excel/internal/io.hpp"
#include "orv/frame/handler.hpp"
#include "orv/xlsx/chart_writer.hpp"
#include "orv/xlsx/file_common.hpp"
#include "orv/xlsx/format_plan.hpp"
#include "orv/xlsx/xml_text.hpp"

// Cell data goes straight into the stream that libxlsxwriter keeps for a
// sheet in constant-memory mode (lxw_worksheet::optimize_tmpfile): its own
// cell writers print numbers with 16 significant digits, which loses the
// last bit of many doubles, and it has no error cells. Everything else
// (package, styles, column widths, charts) goes through its interface.
static_assert(LXW_VERSION_ID >= 100, "libxlsxwriter 1.0 or newer is needed");

namespace orv::xlsx {

namespace {

using excel::CellType;
using excel::FormatProperty;
using excel::Rect;

constexpr Member kSaveXlsx{Rule::None, "Workbook", "SaveXlsx"};
constexpr std::size_t kFlushBytes = 1 << 20;

// --- formats -------------------------------------------------------------

lxw_color_t ToLxwColor(double bgr) {
  auto c = static_cast<std::uint32_t>(bgr);
  std::uint32_t rgb = ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
  // libxlsxwriter reads 0 as "no colour"; black has a code of its own.
  return rgb == 0 ? static_cast<lxw_color_t>(LXW_COLOR_BLACK) : rgb;
}

const Variant& Get(const detail::CellFormat& f, FormatProperty p) {
  return f[static_cast<std::size_t>(p)];
}

std::uint8_t Underline(std::int32_t style) {
  switch (style) {
    case 2:
      return LXW_UNDERLINE_SINGLE;
    case -4119:
      return LXW_UNDERLINE_DOUBLE;
    case 4:
      return LXW_UNDERLINE_SINGLE_ACCOUNTING;
    case 5:
      return LXW_UNDERLINE_DOUBLE_ACCOUNTING;
    default:
      return LXW_UNDERLINE_NONE;
  }
}

std::uint8_t Alignment(std::int32_t align) {
  switch (align) {
    case -4131:
      return LXW_ALIGN_LEFT;
    case -4108:
      return LXW_ALIGN_CENTER;
    case -4152:
      return LXW_ALIGN_RIGHT;
    case 5:
      return LXW_ALIGN_FILL;
    case -4130:
      return LXW_ALIGN_JUSTIFY;
    case 7:
      return LXW_ALIGN_CENTER_ACROSS;
    case -4117:
      return LXW_ALIGN_DISTRIBUTED;
    default:
      return LXW_ALIGN_NONE;
  }
}

// A border's line style and weight as the file's one border style.
std::uint8_t BorderStyle(std::int32_t style, std::int32_t weight) {
  const bool heavy = weight == -4138 || weight == 4;
  switch (style) {
    case 1:
      if (weight == 1) return LXW_BORDER_HAIR;
      if (weight == -4138) return LXW_BORDER_MEDIUM;
      if (weight == 4) return LXW_BORDER_THICK;
      return LXW_BORDER_THIN;
    case -4115:
      return heavy ? LXW_BORDER_MEDIUM_DASHED : LXW_BORDER_DASHED;
    case -4118:
      return LXW_BORDER_DOTTED;
    case 4:
      return heavy ? LXW_BORDER_MEDIUM_DASH_DOT : LXW_BORDER_DASH_DOT;
    case 5:
      return heavy ? LXW_BORDER_MEDIUM_DASH_DOT_DOT : LXW_BORDER_DASH_DOT_DOT;
    case -4119:
      return LXW_BORDER_DOUBLE;
    case 13:
      return LXW_BORDER_SLANT_DASH_DOT;
    default:
      return LXW_BORDER_NONE;
  }
}

struct Edge {
  std::uint8_t style = LXW_BORDER_NONE;
  lxw_color_t color = LXW_COLOR_BLACK;
};

Edge EdgeOf(const detail::CellFormat& f, excel::CellEdge edge) {
  using excel::BorderAttribute;
  std::int32_t style = Get(f, excel::BorderProperty(edge, BorderAttribute::LineStyle)).AsLong();
  std::int32_t weight = Get(f, excel::BorderProperty(edge, BorderAttribute::Weight)).AsLong();
  double color = Get(f, excel::BorderProperty(edge, BorderAttribute::Color)).AsDouble();
  return Edge{BorderStyle(style, weight), ToLxwColor(color)};
}

// The built-in date formats a date cell gets when its own is General.
constexpr std::uint8_t kDateFormat = 14;      // m/d/yyyy
constexpr std::uint8_t kDateTimeFormat = 22;  // m/d/yyyy h:mm

lxw_format* MakeFormat(lxw_workbook* wb, const detail::CellFormat& f, std::uint8_t date_format) {
  lxw_format* x = workbook_add_format(wb);
  if (x == nullptr) throw std::bad_alloc();
  const detail::CellFormat d = [] {
    detail::CellFormat out;
    for (int p = 0; p < detail::kFormatProperties; ++p)
      out[static_cast<std::size_t>(p)] = excel::DefaultFormat(static_cast<FormatProperty>(p));
    return out;
  }();
  auto differs = [&](FormatProperty p) { return !(Get(f, p) == Get(d, p)); };
  if (differs(FormatProperty::FontName))
    format_set_font_name(x, detail::XmlSafe(Get(f, FormatProperty::FontName).AsString()).c_str());
  if (differs(FormatProperty::FontSize))
    format_set_font_size(x, Get(f, FormatProperty::FontSize).AsDouble());
  if (Get(f, FormatProperty::FontBold).AsBoolean()) format_set_bold(x);
  if (Get(f, FormatProperty::FontItalic).AsBoolean()) format_set_italic(x);
  if (differs(FormatProperty::FontUnderline))
    format_set_underline(x, Underline(Get(f, FormatProperty::FontUnderline).AsLong()));
  if (differs(FormatProperty::FontColor))
    format_set_font_color(x, ToLxwColor(Get(f, FormatProperty::FontColor).AsDouble()));
  if (differs(FormatProperty::InteriorColor)) {
    format_set_pattern(x, LXW_PATTERN_SOLID);
    format_set_fg_color(x, ToLxwColor(Get(f, FormatProperty::InteriorColor).AsDouble()));
  }
  if (differs(FormatProperty::HorizontalAlignment))
    format_set_align(x, Alignment(Get(f, FormatProperty::HorizontalAlignment).AsLong()));
  if (Get(f, FormatProperty::WrapText).AsBoolean()) format_set_text_wrap(x);
  const std::string& number_format = Get(f, FormatProperty::NumberFormat).AsString();
  if (number_format != "General")
    format_set_num_format(x, detail::XmlSafe(number_format).c_str());
  else if (date_format != 0)
    format_set_num_format_index(x, date_format);

  using excel::CellEdge;
  Edge left = EdgeOf(f, CellEdge::Left), top = EdgeOf(f, CellEdge::Top),
       bottom = EdgeOf(f, CellEdge::Bottom), right = EdgeOf(f, CellEdge::Right);
  if (left.style != LXW_BORDER_NONE) {
    format_set_left(x, left.style);
    format_set_left_color(x, left.color);
  }
  if (right.style != LXW_BORDER_NONE) {
    format_set_right(x, right.style);
    format_set_right_color(x, right.color);
  }
  if (top.style != LXW_BORDER_NONE) {
    format_set_top(x, top.style);
    format_set_top_color(x, top.color);
  }
  if (bottom.style != LXW_BORDER_NONE) {
    format_set_bottom(x, bottom.style);
    format_set_bottom_color(x, bottom.color);
  }
  // One diagonal style serves both diagonals in the file: the down
  // diagonal's when it has one.
  Edge down = EdgeOf(f, CellEdge::DiagonalDown), up = EdgeOf(f, CellEdge::DiagonalUp);
  if (down.style != LXW_BORDER_NONE || up.style != LXW_BORDER_NONE) {
    const Edge& shown = down.style != LXW_BORDER_NONE ? down : up;
    std::uint8_t type =
        down.style != LXW_BORDER_NONE && up.style != LXW_BORDER_NONE
            ? LXW_DIAGONAL_BORDER_UP_DOWN
            : (down.style != LXW_BORDER_NONE ? LXW_DIAGONAL_BORDER_DOWN : LXW_DIAGONAL_BORDER_UP);
    format_set_diag_type(x, type);
    format_set_diag_border(x, shown.style);
    format_set_diag_color(x, shown.color);
  }
  return x;
}

// The style indexes of one sheet's formats, made when first needed.
class Styles {
 public:
  Styles(lxw_workbook* wb, const detail::FormatPlan& plan)
      : wb_(wb), plan_(plan), formats_(plan.formats.size() * 2, nullptr) {}

  lxw_format* Format(std::int32_t id, std::uint8_t date_format = 0) {
    if (id == 0 && date_format == 0) return nullptr;
    std::size_t slot = static_cast<std::size_t>(id) * 2 + (date_format ? 1 : 0);
    if (date_format) {
      auto it = dates_.find({id, date_format});
      if (it != dates_.end()) return it->second;
      lxw_format* x = MakeFormat(wb_, plan_.formats[static_cast<std::size_t>(id)], date_format);
      dates_[{id, date_format}] = x;
      return x;
    }
    if (!formats_[slot])
      formats_[slot] = MakeFormat(wb_, plan_.formats[static_cast<std::size_t>(id)], 0);
    return formats_[slot];
  }
  std::int32_t Index(std::int32_t id, std::uint8_t date_format = 0) {
    lxw_format* x = Format(id, date_format);
    return x ? lxw_format_get_xf_index(x) : 0;
  }
  bool IsGeneral(std::int32_t id) const {
    return Get(plan_.formats[static_cast<std::size_t>(id)], FormatProperty::NumberFormat)
               .AsString() == "General";
  }

 private:
  lxw_workbook* wb_;
  const detail::FormatPlan& plan_;
  std::vector<lxw_format*> formats_;
  std::map<std::pair<std::int32_t, std::uint8_t>, lxw_format*> dates_;
};

// --- cell data -----------------------------------------------------------

void AppendNumber(std::string& out, double value) {
  char buffer[32];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  (void)ec;
  out.append(buffer, end);
}

void AppendInt(std::string& out, std::int64_t value) {
  char buffer[24];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  (void)ec;
  out.append(buffer, end);
}

struct PendingCell {
  std::int32_t column;
  CellType type;
  double payload;
};

class SheetDataWriter {
 public:
  SheetDataWriter(const std::string& path, lxw_worksheet* ws, const excel::WorksheetState& sheet,
                  const detail::FormatPlan& plan, Styles& styles)
      : path_(path), ws_(ws), sheet_(sheet), plan_(plan), styles_(styles) {
    out_.reserve(kFlushBytes + 4096);
  }

  void Write() {
    const excel::CellStore& cells = sheet_.cells;
    bool any = cells.UsedBlock(used_);
    // Rows with a height of their own.
    for (std::int32_t r = 1; r <= excel::kMaxRows; ++r) {
      double h = sheet_.geometry.RowHeight(r);
      if (h != excel::kDefaultRowHeight) heights_.emplace_back(r, h);
    }
    // The rows to visit: the used rows, rows with a height or a style, and
    // rows with cells that carry a format of their own.
    std::vector<std::pair<std::int32_t, std::int32_t>> spans;
    if (any) spans.emplace_back(used_.top, used_.bottom);
    for (const auto& [r, h] : heights_) spans.emplace_back(r, r);
    for (const detail::FormatSpan& s : plan_.rows) spans.emplace_back(s.first, s.last);
    for (const detail::FormatBlock& b : plan_.cells) spans.emplace_back(b.rect.top, b.rect.bottom);
    std::sort(spans.begin(), spans.end());
    std::vector<std::pair<std::int32_t, std::int32_t>> merged;
    for (const auto& s : spans) {
      if (!merged.empty() && s.first <= merged.back().second + 1)
        merged.back().second = std::max(merged.back().second, s.second);
      else
        merged.push_back(s);
    }
    if (any) {
      letters_.resize(static_cast<std::size_t>(used_.right - used_.left + 1));
      for (std::int32_t c = used_.left; c <= used_.right; ++c)
        letters_[static_cast<std::size_t>(c - used_.left)] = detail::ColumnLetters(c);
      column_styles_.resize(letters_.size());
      for (std::int32_t c = used_.left; c <= used_.right; ++c)
        column_styles_[static_cast<std::size_t>(c - used_.left)] = plan_.ImplicitAt(0, c);
    }
    for (const auto& [first, last] : merged) {
      std::int32_t r = first;
      for (; r <= last && (!any || r < used_.top); ++r) EmitRow(r);
      if (any && r <= last && r <= used_.bottom) {
        std::int32_t to = std::min(last, used_.bottom);
        VisitValues(r, to);
        r = to + 1;
      }
      for (; r <= last; ++r) EmitRow(r);
    }
    Flush();
    if (min_row_ <= max_row_) {
      ws_->dim_rowmin = static_cast<lxw_row_t>(min_row_ - 1);
      ws_->dim_rowmax = static_cast<lxw_row_t>(max_row_ - 1);
      ws_->dim_colmin = static_cast<lxw_col_t>(min_col_ - 1);
      ws_->dim_colmax = static_cast<lxw_col_t>(max_col_ - 1);
    }
  }

 private:
  // The rows of [top, bottom] with the cells they hold: the cells present
  // are visited, not the block's area.
  void VisitValues(std::int32_t top, std::int32_t bottom) {
    std::int32_t row = top;
    row_cells_.clear();
    sheet_.cells.VisitPresent(Rect{top, used_.left, bottom, used_.right},
                              [&](std::int32_t r, std::int32_t column, CellType type, double x) {
                                for (; row < r; ++row) {
                                  EmitRow(row);
                                  row_cells_.clear();
                                }
                                row_cells_.push_back(PendingCell{column, type, x});
                              });
    for (; row <= bottom; ++row) {
      EmitRow(row);
      row_cells_.clear();
    }
  }

  // The format a cell takes when it is written, and the cells of the row
  // that must be written for their format alone.
  void EmitRow(std::int32_t r) {
    // Advance the row's height, row style and active format blocks.
    while (height_at_ < heights_.size() && heights_[height_at_].first < r) ++height_at_;
    const bool has_height = height_at_ < heights_.size() && heights_[height_at_].first == r;
    while (row_span_at_ < plan_.rows.size() && plan_.rows[row_span_at_].last < r) ++row_span_at_;
    const detail::FormatSpan* row_style =
        row_span_at_ < plan_.rows.size() && plan_.rows[row_span_at_].first <= r
            ? &plan_.rows[row_span_at_]
            : nullptr;
    while (block_at_ < plan_.cells.size() && plan_.cells[block_at_].rect.top <= r)
      active_.push_back(&plan_.cells[block_at_++]);
    active_.erase(std::remove_if(active_.begin(), active_.end(),
                                 [&](const detail::FormatBlock* b) { return b->rect.bottom < r; }),
                  active_.end());
    if (row_cells_.empty() && !has_height && !row_style && active_.empty()) return;

    out_ += "<row r=\"";
    AppendInt(out_, r);
    out_ += '"';
    if (row_style) {
      out_ += " s=\"";
      AppendInt(out_, styles_.Index(row_style->format));
      out_ += "\" customFormat=\"1\"";
    }
    if (has_height) {
      double h = heights_[height_at_].second;
      out_ += " ht=\"";
      AppendNumber(out_, h);
      out_ += h == 0 ? "\" hidden=\"1\" customHeight=\"1\"" : "\" customHeight=\"1\"";
    }
    row_text_.clear();
    AppendInt(row_text_, r);

    if (active_.empty()) {
      if (row_cells_.empty()) {
        out_ += "/>";
      } else {
        out_ += '>';
        for (const PendingCell& c : row_cells_)
          Cell(r, c.column, c.type, c.payload,
               row_style ? row_style->format
                         : column_styles_[static_cast<std::size_t>(c.column - used_.left)]);
        out_ += "</row>";
      }
    } else {
      // Merge the value cells with the cells the blocks ask for.
      std::sort(active_.begin(), active_.end(),
                [](const detail::FormatBlock* a, const detail::FormatBlock* b) {
                  return a->rect.left < b->rect.left;
                });
      out_ += '>';
      std::size_t v = 0;
      auto implicit = [&](std::int32_t c) {
        return row_style ? row_style->format : plan_.ImplicitAt(r, c);
      };
      for (const detail::FormatBlock* b : active_) {
        for (; v < row_cells_.size() && row_cells_[v].column < b->rect.left; ++v)
          Cell(r, row_cells_[v].column, row_cells_[v].type, row_cells_[v].payload,
               implicit(row_cells_[v].column));
        for (std::int32_t c = b->rect.left; c <= b->rect.right; ++c) {
          if (v < row_cells_.size() && row_cells_[v].column == c) {
            Cell(r, c, row_cells_[v].type, row_cells_[v].payload, b->format);
            ++v;
          } else {
            Cell(r, c, CellType::Empty, 0, b->format);
          }
        }
      }
      for (; v < row_cells_.size(); ++v)
        Cell(r, row_cells_[v].column, row_cells_[v].type, row_cells_[v].payload,
             implicit(row_cells_[v].column));
      out_ += "</row>";
    }
    min_row_ = std::min(min_row_, r);
    max_row_ = std::max(max_row_, r);
    if (out_.size() >= kFlushBytes) Flush();
  }

  void Reference(std::int32_t column) {
    out_ += "<c r=\"";
    if (column >= used_.left && column <= used_.right && !letters_.empty())
      out_ += letters_[static_cast<std::size_t>(column - used_.left)];
    else
      out_ += detail::ColumnLetters(column);
    out_ += row_text_;
    out_ += '"';
  }

  void Style(std::int32_t index) {
    if (index == 0) return;
    out_ += " s=\"";
    AppendInt(out_, index);
    out_ += '"';
  }

  void Cell(std::int32_t, std::int32_t column, CellType type, double payload, std::int32_t format) {
    min_col_ = std::min(min_col_, column);
    max_col_ = std::max(max_col_, column);
    switch (type) {
      case CellType::Empty:
        Reference(column);
        Style(styles_.Index(format));
        out_ += "/>";
        return;
      case CellType::Number:
        Reference(column);
        if (format != 0) Style(styles_.Index(format));
        out_ += "><v>";
        AppendNumber(out_, payload);
        out_ += "</v></c>";
        return;
      case CellType::Date: {
        Reference(column);
        std::uint8_t date_format = 0;
        if (styles_.IsGeneral(format))
          date_format = payload == std::floor(payload) ? kDateFormat : kDateTimeFormat;
        Style(styles_.Index(format, date_format));
        out_ += "><v>";
        AppendNumber(out_, payload);
        out_ += "</v></c>";
        return;
      }
      case CellType::Boolean:
        Reference(column);
        Style(styles_.Index(format));
        out_ += payload != 0 ? " t=\"b\"><v>1</v></c>" : " t=\"b\"><v>0</v></c>";
        return;
      case CellType::Error:
        Reference(column);
        Style(styles_.Index(format));
        out_ += " t=\"e\"><v>";
        out_ += detail::ErrorText(static_cast<std::int32_t>(payload));
        out_ += "</v></c>";
        return;
      case CellType::Text: {
        Reference(column);
        Style(styles_.Index(format));
        const std::string& text = sheet_.cells.Text(payload);
        out_ += " t=\"inlineStr\"><is>";
        detail::AppendTextElement(out_, text);
        out_ += "</is></c>";
        return;
      }
    }
  }

  void Flush() {
    if (out_.empty()) return;
    if (std::fwrite(out_.data(), 1, out_.size(), ws_->optimize_tmpfile) != out_.size())
      detail::RaiseSave(path_, std::string("the sheet '") + sheet_.name +
                                   "' could not be written to temporary storage (" +
                                   std::strerror(errno) + ")");
    out_.clear();
  }

  const std::string& path_;
  lxw_worksheet* ws_;
  const excel::WorksheetState& sheet_;
  const detail::FormatPlan& plan_;
  Styles& styles_;

  Rect used_{};
  std::vector<std::string> letters_;
  std::vector<std::int32_t> column_styles_;
  std::vector<std::pair<std::int32_t, double>> heights_;
  std::size_t height_at_ = 0, row_span_at_ = 0, block_at_ = 0;
  std::vector<const detail::FormatBlock*> active_;
  std::vector<PendingCell> row_cells_;
  std::string row_text_;
  std::string out_;
  std::int32_t min_row_ = excel::kMaxRows + 1, max_row_ = 0;
  std::int32_t min_col_ = excel::kMaxColumns + 1, max_col_ = 0;
};

// Column widths and column styles, in runs.
void WriteColumns(const std::string& path, lxw_worksheet* ws, const excel::WorksheetState& sheet,
                  const detail::FormatPlan& plan, Styles& styles) {
  std::int32_t c = 1;
  while (c <= excel::kMaxColumns) {
    double width = sheet.geometry.ColumnWidth(c);
    std::int32_t style = plan.ImplicitAt(0, c);
    std::int32_t last = c;
    while (last < excel::kMaxColumns && sheet.geometry.ColumnWidth(last + 1) == width &&
           plan.ImplicitAt(0, last + 1) == style)
      ++last;
    if (width != excel::kDefaultColumnWidth || style != 0) {
      auto pixels = static_cast<std::uint32_t>(std::lround(width / 0.75));
      lxw_row_col_options options{};
      options.hidden = pixels == 0 ? 1 : 0;
      lxw_error e = worksheet_set_column_pixels_opt(ws, static_cast<lxw_col_t>(c - 1),
                                                    static_cast<lxw_col_t>(last - 1), pixels,
                                                    styles.Format(style), &options);
      if (e != LXW_NO_ERROR)
        detail::RaiseSave(path, std::string("the columns of sheet '") + sheet.name +
                                    "' could not be written (" + lxw_strerror(e) + ")");
    }
    c = last + 1;
  }
}

// The workbook under construction; freed unless it was closed.
struct WorkbookOwner {
  lxw_workbook* wb = nullptr;
  ~WorkbookOwner() {
    if (wb) lxw_workbook_free(wb);
  }
};

// The temporaries of the saves in progress, for RemoveUnfinishedSaves: a
// fixed table a signal handler can read without locks.
constexpr std::size_t kPendingSlots = 16;
constexpr std::size_t kPendingName = 4096;
struct PendingSave {
  std::atomic<int> state{0};  // 0 free, 1 being written, 2 named
  char name[kPendingName];
};
PendingSave g_pending[kPendingSlots];

// The temporary file beside the target; removed unless renamed.
struct TemporaryFile {
  std::string name;
  bool keep = false;
  PendingSave* slot = nullptr;
  void Track() {
    if (name.size() >= kPendingName) return;
    for (PendingSave& p : g_pending) {
      int expected = 0;
      if (!p.state.compare_exchange_strong(expected, 1)) continue;
      std::memcpy(p.name, name.c_str(), name.size() + 1);
      p.state.store(2);
      slot = &p;
      return;
    }
  }
  ~TemporaryFile() {
    if (slot) slot->state.store(0);
    if (!name.empty() && !keep) ::unlink(name.c_str());
  }
};

// Writes the file's bytes through to the disk.
bool SyncFile(const std::string& name) {
  int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  bool ok = ::fsync(fd) == 0;
  ::close(fd);
  return ok;
}

// Page setup, page breaks, frozen panes, gridlines and the autofilter.
void WriteSetup(lxw_worksheet* ws, const excel::SheetSetup& s) {
  if (s.orientation == excel::xlLandscape) worksheet_set_landscape(ws);
  if (s.fit_wide > 0 || s.fit_tall > 0)
    worksheet_fit_to_pages(ws, static_cast<std::uint16_t>(s.fit_wide),
                           static_cast<std::uint16_t>(s.fit_tall));
  if (!s.row_breaks.empty()) {
    // Zero-based rows a page starts at, ended by 0.
    std::vector<lxw_row_t> breaks;
    for (std::int32_t row : s.row_breaks) breaks.push_back(static_cast<lxw_row_t>(row - 1));
    breaks.push_back(0);
    worksheet_set_h_pagebreaks(ws, breaks.data());
  }
  if (s.frozen_rows > 0 || s.frozen_columns > 0)
    worksheet_freeze_panes(ws, static_cast<lxw_row_t>(s.frozen_rows),
                           static_cast<lxw_col_t>(s.frozen_columns));
  if (!s.gridlines) worksheet_gridlines(ws, LXW_HIDE_ALL_GRIDLINES);
  if (s.filtered)
    worksheet_autofilter(ws, static_cast<lxw_row_t>(s.filter.top - 1),
                         static_cast<lxw_col_t>(s.filter.left - 1),
                         static_cast<lxw_row_t>(s.filter.bottom - 1),
                         static_cast<lxw_col_t>(s.filter.right - 1));
}

void Save(const excel::Workbook& book, std::string_view path_view) {
  if (book.IsNothing()) Raise(kErrObjectNotSet);
  const std::string path(path_view);
  if (path.empty()) detail::RaiseSave(path, "no file name was given");
  const excel::WorkbookState& state = *excel::internal::StateOf(book);

  // A temporary file in the target's folder, so that the final rename
  // cannot cross file systems.
  std::size_t slash = path.find_last_of('/');
  std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
  if (base.empty()) detail::RaiseSave(path, "the name is a folder, not a file");
  TemporaryFile temp;
  {
    std::string pattern =
        (slash == std::string::npos ? std::string() : folder) + ".orv-save-XXXXXX.part";
    int fd = ::mkstemps(pattern.data(), 5);
    if (fd < 0)
      detail::RaiseSave(path, std::string("a file cannot be created in its folder (") +
                                  std::strerror(errno) + ")");
    temp.name = pattern;
    temp.Track();
    // The new file gets the target's permissions, or the usual ones.
    struct stat existing {};
    mode_t mode;
    if (::stat(path.c_str(), &existing) == 0) {
      mode = existing.st_mode & 07777;
    } else {
      mode_t mask = ::umask(0);
      ::umask(mask);
      mode = 0666 & ~mask;
    }
    ::fchmod(fd, mode);
    ::close(fd);
  }

  // Estimate the size of the sheets to decide on ZIP64 (parts over 4 GB).
  std::uint64_t estimate = 0;
  for (const auto& sheet : state.sheets) {
    Rect used;
    if (sheet->cells.UsedBlock(used)) estimate += static_cast<std::uint64_t>(used.Cells()) * 40;
  }
  lxw_workbook_options options{};
  options.constant_memory = LXW_TRUE;
  options.tmpdir = nullptr;
  options.use_zip64 = estimate > (std::uint64_t{3} << 30) ? LXW_TRUE : LXW_FALSE;
  WorkbookOwner owner;
  owner.wb = workbook_new_opt(temp.name.c_str(), &options);
  if (owner.wb == nullptr) throw std::bad_alloc();

  std::shared_ptr<excel::WorksheetState> active = state.active_sheet.lock();
  detail::ChartContext charts;
  charts.path = path;
  charts.wb = owner.wb;
  charts.book = &state;
  charts.data = detail::NewSheet(detail::ChartDataSheetName(state));
  std::vector<detail::FormatPlan> plans;
  plans.reserve(state.sheets.size() + 1);  // Styles keep references
  std::vector<std::unique_ptr<Styles>> styles;
  for (const auto& sheet : state.sheets) {
    lxw_worksheet* ws = workbook_add_worksheet(owner.wb, sheet->name.c_str());
    if (ws == nullptr || !ws->optimize || ws->optimize_tmpfile == nullptr)
      detail::RaiseSave(path, "the sheet '" + sheet->name + "' cannot be added to the file");
    plans.push_back(detail::PlanFormats(sheet->formats));
    styles.push_back(std::make_unique<Styles>(owner.wb, plans.back()));
    WriteColumns(path, ws, *sheet, plans.back(), *styles.back());
    SheetDataWriter(path, ws, *sheet, plans.back(), *styles.back()).Write();
    detail::WriteCharts(charts, ws, *sheet);
    WriteSetup(ws, sheet->setup);
    if (sheet == active) worksheet_activate(ws);
  }
  // The data of chart series made from arrays, on a sheet of their own.
  excel::Rect ignored;
  if (charts.data->cells.UsedBlock(ignored)) {
    lxw_worksheet* ws = workbook_add_worksheet(owner.wb, charts.data->name.c_str());
    if (ws == nullptr || !ws->optimize || ws->optimize_tmpfile == nullptr)
      detail::RaiseSave(path, "the sheet of the charts' data cannot be added to the file");
    plans.push_back(detail::PlanFormats(charts.data->formats));
    styles.push_back(std::make_unique<Styles>(owner.wb, plans.back()));
    SheetDataWriter(path, ws, *charts.data, plans.back(), *styles.back()).Write();
    worksheet_hide(ws);
  }

  lxw_error e = workbook_close(owner.wb);
  owner.wb = nullptr;  // closed, and freed by workbook_close
  if (e != LXW_NO_ERROR)
    detail::RaiseSave(path, std::string("writing the file failed (") + lxw_strerror(e) + ")");
  if (!SyncFile(temp.name))
    detail::RaiseSave(path, std::string("the file could not be written to the disk (") +
                                std::strerror(errno) + ")");
  if (std::rename(temp.name.c_str(), path.c_str()) != 0)
    detail::RaiseSave(
        path, std::string("the finished file could not replace it (") + std::strerror(errno) + ")");
  temp.keep = true;
}

}  // namespace

void RemoveUnfinishedSaves() noexcept {
  for (PendingSave& p : g_pending)
    if (p.state.load() == 2) ::unlink(p.name);
}

void SaveXlsx(const excel::Workbook& book, std::string_view path) {
  Guard(kSaveXlsx, [&](Line&) { Save(book, path); });
}

}  // namespace orv::xlsx
