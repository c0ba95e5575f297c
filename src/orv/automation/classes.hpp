#pragma once
// The classes that can be reached late-bound, each with its member table
// (defined in the classes_*.cpp files beside this one).
#include "orv/automation/dispatch_detail.hpp"

namespace orv {
class CMatrix;
class CVMatrix;
class clsMatrix;
class CRangeObjects;
class CDescriptives;
class CDistributions;
class clsDistributions;
class clsValidation;
class clsMain;
class clsFormatting;
class clsProperties;
class clsConstants;
class clsPlotLine;
class clsPlotScatter;
class clsPlotHistogram;
class clsPlotCircular;
namespace excel {
class Application;
class Workbooks;
class Workbook;
class Worksheets;
class Worksheet;
class Range;
class Chart;
class ChartObject;
}  // namespace excel
}  // namespace orv

namespace orv::automation {

#define ORV_DISPATCHABLE(X)                                                                        \
  X(CMatrix)                                                                                       \
  X(CVMatrix) X(clsMatrix) X(CRangeObjects) X(CDescriptives) X(CDistributions) X(clsDistributions) \
      X(clsValidation) X(clsMain) X(clsFormatting) X(clsProperties) X(clsConstants) X(clsPlotLine) \
          X(clsPlotScatter) X(clsPlotHistogram) X(clsPlotCircular) X(excel::Application)           \
              X(excel::Workbooks) X(excel::Workbook) X(excel::Worksheets) X(excel::Worksheet)      \
                  X(excel::Range) X(excel::Chart) X(excel::ChartObject)

#define ORV_DECLARE_CLASS(T) \
  template <>                \
  const ClassInfo& ClassFor<T>();
ORV_DISPATCHABLE(ORV_DECLARE_CLASS)
#undef ORV_DECLARE_CLASS

}  // namespace orv::automation

// Table entries of the class named Self in the enclosing scope: a method,
// a property's get, its let (the assigned value is the last parameter),
// its set, and a get with a let.
#define ORV_METHOD(Name, ...) ::orv::automation::Member::Method<&Self::Name>(#Name, {__VA_ARGS__})
#define ORV_GET(Name, ...) ::orv::automation::Member::Get<&Self::Name>(#Name, {__VA_ARGS__})
#define ORV_LET(Name) ::orv::automation::Member::Let<&Self::Let##Name>(#Name)
#define ORV_SET(Name) ::orv::automation::Member::Set<&Self::Set##Name>(#Name)
#define ORV_PROP(Name) ORV_GET(Name), ORV_LET(Name)
// The definition of a class's table.
#define ORV_CLASS_TABLE(T, Instancing, Factory, ...)                                        \
  template <>                                                                               \
  const ClassInfo& ClassFor<T>() {                                                          \
    using Self = T;                                                                         \
    static const ClassInfo info(#T, Instancing, Factory, std::vector<Member>{__VA_ARGS__}); \
    return info;                                                                            \
  }
