#include "orv/automation/classes.hpp"
#include "orv/charts/clsPlotCircular.hpp"
#include "orv/charts/clsPlotHistogram.hpp"
#include "orv/charts/clsPlotLine.hpp"
#include "orv/charts/clsPlotScatter.hpp"

namespace orv::automation {

#define ORV_OFFSETS ORV_PROP(VerticalOffset), ORV_PROP(HorizontalOffset)
#define ORV_SIZE ORV_PROP(ChartHeight), ORV_PROP(ChartWidth)

ORV_CLASS_TABLE(clsPlotLine, Instancing::Creatable, &NewBoxed<clsPlotLine>, ORV_OFFSETS,
                ORV_PROP(ChartTitle), ORV_PROP(YAxisTitle), ORV_PROP(XAxisTitle),
                ORV_SET(OutputRange), ORV_SET(YValues), ORV_LET(ShowPoints), ORV_LET(ShowLines),
                ORV_SIZE, ORV_LET(YMin), ORV_METHOD(CreatePlot))

ORV_CLASS_TABLE(clsPlotScatter, Instancing::Creatable, &NewBoxed<clsPlotScatter>, ORV_OFFSETS,
                ORV_SIZE,
                ORV_PROP(ChartTitle), ORV_PROP(YAxisTitle), ORV_PROP(XAxisTitle),
                ORV_LET(ChartSubtitle), ORV_SET(OutputRange), ORV_SET(XValues), ORV_SET(YValues),
                ORV_SET(CLLower), ORV_SET(CLUpper), ORV_LET(DataLabels), ORV_LET(Slope),
                ORV_LET(Intercept), ORV_LET(Regression), ORV_LET(ConstantIs0), ORV_LET(Crosshairs),
                ORV_LET(ConfidenceLimits), ORV_LET(PredictionLimits), ORV_LET(StandardError),
                ORV_LET(AreaBorder), ORV_LET(ScaleStarPoints),
                ORV_METHOD(LinePoints, "X1", "Y1", "X2", "Y2"),
                ORV_METHOD(StarPoints, "x", "Y", Opt("Labels")), ORV_METHOD(CreatePlot))

ORV_CLASS_TABLE(clsPlotHistogram, Instancing::Creatable, &NewBoxed<clsPlotHistogram>,
                ORV_LET(DataType), ORV_OFFSETS, ORV_PROP(ChartTitle), ORV_PROP(XAxisTitle),
                ORV_PROP(YAxisTitle), ORV_PROP(YAxisSecondTitle), ORV_SET(OutputRange),
                ORV_SET(HeadersRange), ORV_SET(XValuesRange), ORV_SET(XValuesSecondRange),
                ORV_SET(YValuesRange), ORV_SET(YValuesSecondRange), ORV_SIZE,
                ORV_METHOD(CreatePlot))

ORV_CLASS_TABLE(clsPlotCircular, Instancing::Creatable, &NewBoxed<clsPlotCircular>, ORV_OFFSETS,
                ORV_PROP(ChartTitle), ORV_SET(OutputRange), ORV_SET(XValues), ORV_SET(YValues),
                ORV_SIZE, ORV_METHOD(CreatePlot))

#undef ORV_OFFSETS
#undef ORV_SIZE

}  // namespace orv::automation
