#include "orv/output/clsMain.hpp"

#include <cmath>

namespace orv {

excel::Application clsMain::Excel() const {
  return excel::CurrentApplication();
}

void clsMain::SetExcel(const excel::Application& Application) const {
  excel::SetCurrentApplication(Application);
}

std::string clsMain::Getth(const std::string& Text) const {
  std::string result;
  ResumeNext([&] {
    if (Text.empty()) return;
    const char d = Text.back();
    switch (d) {
      case '0':
      case '4':
      case '5':
      case '6':
      case '7':
      case '8':
      case '9':
        result = Text + "th ";
        break;
      case '1':
        result = Text + "st ";
        break;
      case '2':
        result = Text + "nd ";
        break;
      case '3':
        result = Text + "rd ";
        break;
      default:
        break;
    }
  });
  return result;
}

Boolean clsMain::ArrayIsEmpty(const Variant& TestVar) const {
  return !ResumeNext([&] { (void)TestVar.UBound(1); });
}

void clsMain::DPArray(const Variant& ArrayToPrint) const {
  for (Long i = 1; i <= ArrayToPrint.UBound(1); ++i)
    for (Long j = 1; j <= ArrayToPrint.UBound(2); ++j) (void)ArrayToPrint.Element(i, j);
}

namespace {

// 1, 2, 5 or 10 times the power of ten at or below x.
double NiceNumber(double x, bool rounded) {
  const double e = Floor(Div(Log(x), Log(10.0)));
  const double f = Div(x, Pow(10.0, e));
  double nice;
  if (rounded) {
    if (f < 1.5)
      nice = 1;
    else if (f < 3)
      nice = 2;
    else if (f < 7)
      nice = 5;
    else
      nice = 10;
  } else {
    if (f <= 1)
      nice = 1;
    else if (f <= 2)
      nice = 2;
    else if (f <= 5)
      nice = 5;
    else
      nice = 10;
  }
  return Mul(nice, Pow(10.0, e));
}

// Toward minus infinity, as a 32-bit integer (6 beyond its range).
Long FloorLong(double x) { return CLng(Floor(x)); }
// The value when whole, else the floor plus 1.
Long CeilingLong(double x) {
  if (x == Floor(x)) return CLng(x);
  return CLng(Floor(x) + 1);
}

}  // namespace

void clsMain::AxisTicks(Double DataMin, Double DataMax, Long ApproxTicks, Double Buffer,
                        ByRef<Double> ReturnAxisMin, ByRef<Double> ReturnAxisMax,
                        ByRef<Double> ReturnAxisUnit, ByRef<Long> ReturnDecimalPoints) const {
  if (DataMax < DataMin) Raise(kObjectErrorBase);
  double pad = Mul(Sub(DataMax, DataMin), Buffer);
  if (DataMax == DataMin) {
    pad = DataMax == 0 ? 1.0 : Pow(10.0, Floor(Div(Log(std::fabs(DataMax)), Log(10.0))));
  }
  const double lo = Sub(DataMin, pad);
  const double hi = Add(DataMax, pad);
  const double span = NiceNumber(Sub(hi, lo), false);
  const double unit = NiceNumber(Div(span, static_cast<double>(ApproxTicks) - 1), true);
  *ReturnAxisUnit = unit;
  *ReturnAxisMin = Mul(static_cast<double>(FloorLong(Div(lo, unit))), unit);
  *ReturnAxisMax = Mul(static_cast<double>(CeilingLong(Div(hi, unit))), unit);
  Long decimals = -FloorLong(Div(Log(unit), Log(10.0)));
  *ReturnDecimalPoints = decimals < 0 ? 0 : decimals;
}

}  // namespace orv
