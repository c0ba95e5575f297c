// Cell formats through Range, Font, Interior, Border and Borders.
#include <cmath>

#include "orv/excel/Range.hpp"
#include "orv/excel/internal/detail.hpp"
#include "orv/excel/errors.hpp"
#include "orv/frame/convert.hpp"

namespace orv::excel {

namespace {

Variant UniformOver(const RangeState& s, FormatProperty property, const std::vector<Rect>& blocks) {
  Variant result;
  bool first = true;
  for (const Rect& block : blocks) {
    Variant v = s.sheet->formats.Uniform(property, block);
    if (v.IsNull()) return v;
    if (first) {
      result = std::move(v);
      first = false;
    } else if (!(v == result)) {
      return Variant(Null);
    }
  }
  return first ? DefaultFormat(property) : result;
}

void SetOver(const RangeState& s, FormatProperty property, const std::vector<Rect>& blocks,
             const Variant& value) {
  for (const Rect& block : blocks) s.sheet->formats.Set(property, block, value);
}

// Converts a value for a format property; a value the property cannot take
// is 1004 "Unable to set the <property> property of the <cls> class".
template <class Convert>
Variant Converted(const Variant& value, const char* property, const char* cls, Convert convert) {
  try {
    return convert(value);
  } catch (const Error&) {
    RaiseUnableToSet(property, cls);
  }
}

Variant AsFlag(const Variant& v) { return Variant(CBool(v)); }

Variant AsColor(const Variant& v) {
  double c = std::floor(CDbl(v) + 0.5);
  if (!(c >= 0 && c <= 16777215)) Raise(kErrInvalidCall);
  return Variant(c);
}

template <std::size_t N>
Variant AsOneOf(const Variant& v, const std::int32_t (&allowed)[N]) {
  std::int32_t n = CLng(v);
  for (std::int32_t a : allowed)
    if (a == n) return Variant(n);
  Raise(kErrInvalidCall);
}

constexpr std::int32_t kUnderlines[] = {-4142, 2, -4119, 4, 5};
constexpr std::int32_t kAlignments[] = {1, -4131, -4108, -4152, 5, -4130, 7, -4117};
constexpr std::int32_t kLineStyles[] = {1, -4115, 4, 5, -4118, -4119, 13, -4142};
constexpr std::int32_t kWeights[] = {1, 2, -4138, 4};

const RangeState& StateOf(const Range& r) {
  const auto& p = internal::StateOf(r);
  if (!p) Raise(kErrObjectNotSet);
  return *p;
}

}  // namespace

excel::Font Range::Font() const {
  (void)*state_;
  return excel::Font(*this);
}
excel::Interior Range::Interior() const {
  (void)*state_;
  return excel::Interior(*this);
}
excel::Borders Range::Borders() const {
  (void)*state_;
  return excel::Borders(*this);
}
excel::Border Range::Borders(std::int32_t edge) const { return Borders().Item(edge); }

Variant Range::HorizontalAlignment() const {
  return UniformOver(*state_, FormatProperty::HorizontalAlignment, state_->areas);
}
void Range::LetHorizontalAlignment(const Variant& value) const {
  const RangeState& s = *state_;
  Variant v = Converted(value, "HorizontalAlignment", "Range",
                        [](const Variant& x) { return AsOneOf(x, kAlignments); });
  SetOver(s, FormatProperty::HorizontalAlignment, s.areas, v);
}
Variant Range::WrapText() const {
  return UniformOver(*state_, FormatProperty::WrapText, state_->areas);
}
void Range::LetWrapText(const Variant& value) const {
  const RangeState& s = *state_;
  SetOver(s, FormatProperty::WrapText, s.areas, Converted(value, "WrapText", "Range", AsFlag));
}
Variant Range::NumberFormat() const {
  return UniformOver(*state_, FormatProperty::NumberFormat, state_->areas);
}
void Range::LetNumberFormat(const Variant& value) const {
  const RangeState& s = *state_;
  Variant v =
      Converted(value, "NumberFormat", "Range", [](const Variant& x) { return Variant(CStr(x)); });
  SetOver(s, FormatProperty::NumberFormat, s.areas, v);
}

// --- Font ---

#define ORV_FONT_PROPERTY(Name, Property, Convert)                                           \
  Variant Font::Name() const {                                                               \
    const RangeState& s = StateOf(range_);                                                   \
    return UniformOver(s, FormatProperty::Property, s.areas);                                \
  }                                                                                          \
  void Font::Let##Name(const Variant& value) const {                                         \
    const RangeState& s = StateOf(range_);                                                   \
    SetOver(s, FormatProperty::Property, s.areas, Converted(value, #Name, "Font", Convert)); \
  }

ORV_FONT_PROPERTY(Bold, FontBold, AsFlag)
ORV_FONT_PROPERTY(Italic, FontItalic, AsFlag)
ORV_FONT_PROPERTY(Color, FontColor, AsColor)
ORV_FONT_PROPERTY(Size, FontSize, [](const Variant& x) {
  double size = CDbl(x);
  if (!(size >= 1 && size <= 409)) Raise(kErrInvalidCall);
  return Variant(size);
})
ORV_FONT_PROPERTY(Name, FontName, [](const Variant& x) {
  std::string name = CStr(x);
  if (name.empty()) Raise(kErrInvalidCall);
  return Variant(name);
})
ORV_FONT_PROPERTY(Underline, FontUnderline,
                  [](const Variant& x) { return AsOneOf(x, kUnderlines); })
#undef ORV_FONT_PROPERTY

// --- Interior ---

Variant Interior::Color() const {
  const RangeState& s = StateOf(range_);
  return UniformOver(s, FormatProperty::InteriorColor, s.areas);
}
void Interior::LetColor(const Variant& value) const {
  const RangeState& s = StateOf(range_);
  SetOver(s, FormatProperty::InteriorColor, s.areas,
          Converted(value, "Color", "Interior", AsColor));
}

// --- Borders ---

Border Borders::Item(std::int32_t edge) const {
  (void)StateOf(range_);
  if (edge < xlDiagonalDown || edge > xlInsideHorizontal) RaiseUnableToGet("Item", "Borders");
  return Border(range_, edge);
}

namespace {

struct EdgeBlocks {
  CellEdge edge;
  std::vector<Rect> blocks;
};

// The cell edges (and the cells whose edge it is) that a border of the range
// stands for. The first entry is the one that reading reports.
std::vector<EdgeBlocks> EdgesOf(const RangeState& s, std::int32_t edge) {
  std::vector<EdgeBlocks> out;
  auto add = [&](CellEdge e, auto pick) {
    EdgeBlocks eb{e, {}};
    for (const Rect& a : s.areas) {
      Rect b = pick(a);
      if (b.top <= b.bottom && b.left <= b.right) eb.blocks.push_back(b);
    }
    out.push_back(std::move(eb));
  };
  auto whole = [](const Rect& a) { return a; };
  switch (edge) {
    case 0:
      for (CellEdge e : {CellEdge::Left, CellEdge::Top, CellEdge::Bottom, CellEdge::Right})
        add(e, whole);
      break;
    case xlEdgeLeft:
      add(CellEdge::Left, [](const Rect& a) { return Rect{a.top, a.left, a.bottom, a.left}; });
      break;
    case xlEdgeRight:
      add(CellEdge::Right, [](const Rect& a) { return Rect{a.top, a.right, a.bottom, a.right}; });
      break;
    case xlEdgeTop:
      add(CellEdge::Top, [](const Rect& a) { return Rect{a.top, a.left, a.top, a.right}; });
      break;
    case xlEdgeBottom:
      add(CellEdge::Bottom, [](const Rect& a) {
        return Rect{a.bottom, a.left, a.bottom, a.right};
      });
      break;
    case xlInsideVertical:
      add(CellEdge::Right, [](const Rect& a) {
        return Rect{a.top, a.left, a.bottom, a.right - 1};
      });
      add(CellEdge::Left, [](const Rect& a) { return Rect{a.top, a.left + 1, a.bottom, a.right}; });
      break;
    case xlInsideHorizontal:
      add(CellEdge::Bottom, [](const Rect& a) {
        return Rect{a.top, a.left, a.bottom - 1, a.right};
      });
      add(CellEdge::Top, [](const Rect& a) { return Rect{a.top + 1, a.left, a.bottom, a.right}; });
      break;
    case xlDiagonalDown:
      add(CellEdge::DiagonalDown, whole);
      break;
    case xlDiagonalUp:
      add(CellEdge::DiagonalUp, whole);
      break;
    default:
      break;
  }
  return out;
}

}  // namespace

Variant Border::Get(int attribute) const {
  const RangeState& s = StateOf(range_);
  std::vector<EdgeBlocks> edges = EdgesOf(s, edge_);
  // Every edge (edge 0) must agree; otherwise the first entry reports.
  std::size_t count = edge_ == 0 ? edges.size() : 1;
  Variant result;
  bool first = true;
  for (std::size_t i = 0; i < count && i < edges.size(); ++i) {
    FormatProperty p = BorderProperty(edges[i].edge, static_cast<BorderAttribute>(attribute));
    if (edges[i].blocks.empty()) continue;
    Variant v = UniformOver(s, p, edges[i].blocks);
    if (v.IsNull()) return v;
    if (first) {
      result = std::move(v);
      first = false;
    } else if (!(v == result)) {
      return Variant(Null);
    }
  }
  if (first)
    return DefaultFormat(BorderProperty(CellEdge::Left, static_cast<BorderAttribute>(attribute)));
  return result;
}

void Border::Set(int attribute, const Variant& value, const char* property) const {
  const RangeState& s = StateOf(range_);
  Variant v;
  switch (static_cast<BorderAttribute>(attribute)) {
    case BorderAttribute::LineStyle:
      v = Converted(value, property, "Border",
                    [](const Variant& x) { return AsOneOf(x, kLineStyles); });
      break;
    case BorderAttribute::Weight:
      v = Converted(value, property, "Border",
                    [](const Variant& x) { return AsOneOf(x, kWeights); });
      break;
    case BorderAttribute::Color:
      v = Converted(value, property, "Border", AsColor);
      break;
  }
  for (const EdgeBlocks& eb : EdgesOf(s, edge_))
    SetOver(s, BorderProperty(eb.edge, static_cast<BorderAttribute>(attribute)), eb.blocks, v);
}

Variant Border::LineStyle() const { return Get(0); }
void Border::LetLineStyle(const Variant& value) const { Set(0, value, "LineStyle"); }
Variant Border::Weight() const { return Get(1); }
void Border::LetWeight(const Variant& value) const { Set(1, value, "Weight"); }
Variant Border::Color() const { return Get(2); }
void Border::LetColor(const Variant& value) const { Set(2, value, "Color"); }

}  // namespace orv::excel
