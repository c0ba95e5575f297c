// The part of the workbook object model a client needs to hand the library
// an application, ranges to read and places to write.
#include "orv/automation/classes.hpp"
#include "orv/excel/Application.hpp"
#include "orv/excel/Chart.hpp"
#include "orv/excel/Shapes.hpp"

namespace orv::automation {

namespace {
using excel::Range;
using std::int32_t;
using std::string_view;
}  // namespace

#define ORV_OVERLOAD(Name, Signature) \
  Member::Method<static_cast<Signature>(&Self::Name)>(#Name, ORV_PARAMS
#define ORV_PARAMS(...) {__VA_ARGS__})

ORV_CLASS_TABLE(excel::Application, Instancing::Creatable, &NewBoxed<excel::Application>,
                ORV_OVERLOAD(Range, Range (excel::Application::*)(string_view) const)("Reference"),
                ORV_OVERLOAD(Union, Range (excel::Application::*)(const Range&, const Range&)
                                        const)("Range1", "Range2"),
                ORV_GET(ActiveSheet), ORV_GET(ActiveWorkbook),
                Member::Get<static_cast<excel::Workbooks (excel::Application::*)() const>(
                    &excel::Application::Workbooks)>("Workbooks"),
                ORV_PROP(ScreenUpdating), ORV_PROP(Version), ORV_GET(Name))

ORV_CLASS_TABLE(excel::Workbooks, Instancing::Internal, nullptr, ORV_GET(Count),
                ORV_OVERLOAD(Item, excel::Workbook (excel::Workbooks::*)(int32_t) const)("Index"),
                ORV_METHOD(Add))

ORV_CLASS_TABLE(excel::Workbook, Instancing::Internal, nullptr, ORV_GET(Name),
                Member::Get<static_cast<excel::Worksheets (excel::Workbook::*)() const>(
                    &excel::Workbook::Worksheets)>("Worksheets"),
                ORV_GET(ActiveSheet), ORV_METHOD(Activate), ORV_METHOD(Close))

ORV_CLASS_TABLE(excel::Worksheets, Instancing::Internal, nullptr, ORV_GET(Count),
                ORV_OVERLOAD(Item, excel::Worksheet (excel::Worksheets::*)(int32_t) const)("Index"),
                ORV_METHOD(Add))

ORV_CLASS_TABLE(excel::Worksheet, Instancing::Internal, nullptr, ORV_GET(Name), ORV_LET(Name),
                ORV_GET(Index), ORV_METHOD(Activate),
                ORV_OVERLOAD(Cells, Range (excel::Worksheet::*)(int32_t, int32_t)
                                        const)("RowIndex", "ColumnIndex"),
                ORV_OVERLOAD(Range, Range (excel::Worksheet::*)(string_view) const)("Reference"),
                ORV_GET(UsedRange),
                ORV_OVERLOAD(ChartObjects,
                             excel::ChartObject (excel::Worksheet::*)(int32_t) const)("Index"))

ORV_CLASS_TABLE(
    excel::Range, Instancing::Internal, nullptr, ORV_PROP(Value), ORV_GET(Count), ORV_GET(Row),
    ORV_GET(Column), ORV_GET(Worksheet),
    ORV_GET(Address, Opt("RowAbsolute", true), Opt("ColumnAbsolute", true), Opt("External", false)),
    ORV_OVERLOAD(Cells, Range (excel::Range::*)(int32_t, int32_t) const)("RowIndex", "ColumnIndex"),
    ORV_OVERLOAD(Areas, Range (excel::Range::*)(int32_t) const)("Index"), ORV_METHOD(Clear),
    ORV_METHOD(ClearContents), ORV_GET(Top), ORV_GET(Left), ORV_GET(Width), ORV_GET(Height),
    ORV_PROP(NumberFormat), ORV_PROP(HorizontalAlignment), ORV_PROP(WrapText))

ORV_CLASS_TABLE(excel::ChartObject, Instancing::Internal, nullptr, ORV_GET(Chart), ORV_GET(Name),
                ORV_GET(Left), ORV_GET(Top), ORV_GET(Width), ORV_GET(Height), ORV_GET(TopLeftCell),
                ORV_GET(Index))

ORV_CLASS_TABLE(excel::Chart, Instancing::Internal, nullptr, ORV_PROP(ChartType),
                ORV_PROP(HasLegend), ORV_PROP(HasTitle),
                ORV_GET(HasAxis, "Type", Opt("AxisGroup", excel::xlPrimary)))

}  // namespace orv::automation
