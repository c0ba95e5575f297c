#include "orv/automation/classes.hpp"
#include "orv/distributions/CDistributions.hpp"
#include "orv/distributions/clsDistributions.hpp"
#include "orv/output/clsConstants.hpp"
#include "orv/output/clsFormatting.hpp"
#include "orv/output/clsMain.hpp"
#include "orv/output/clsProperties.hpp"
#include "orv/validation/clsValidation.hpp"

namespace orv::automation {

ORV_CLASS_TABLE(CDistributions, Instancing::Global, &Predeclared<CDistributions>,
                ORV_METHOD(ORV_CDF_Q, "Q", "ErrorDF", "NumGroups"),
                ORV_METHOD(ORV_CDF_Rayleigh, "Rayleigh", "Count"),
                ORV_METHOD(ORV_CDF_t, "t", "DF", "Tails"),
                ORV_METHOD(ORV_CDF_Normal, "x", Opt("Mean", 0.0), Opt("SD", 1.0)),
                ORV_METHOD(ORV_IDF_Normal, "p", Opt("Mean", 0.0), Opt("SD", 1.0)),
                ORV_METHOD(ORV_IDF_t, "p", "DF"))

ORV_CLASS_TABLE(clsDistributions, Instancing::Global, &Predeclared<clsDistributions>,
                ORV_METHOD(QDist, "Q", "ErrorDF", "NumGroups"),
                ORV_METHOD(RayleighP, "Rayleigh", "Count"))

ORV_CLASS_TABLE(
    clsValidation, Instancing::Global, &Predeclared<clsValidation>,
    ORV_METHOD(ValidateReference, "Ref"),
    ORV_METHOD(ValidateInputRange, "InputRange", "Headers", Opt("CheckVariance", false),
               Opt("MustBeInt", false), Opt("MustBePos", false), Opt("IgnoreBlanks", false),
               Opt("EvenColumnLengths", false)),
    ORV_METHOD(ValidateXRange, "InputRange", "Headers", Opt("CheckVariance", false),
               Opt("MustBeInt", false), Opt("MustBePos", false), Opt("EvenColumnLengths", false)),
    ORV_METHOD(ValidateZRange, "InputRange", "Headers", Opt("CheckVariance", false),
               Opt("MustBeInt", false)),
    ORV_METHOD(ValidateNonnumericInputRange, "InputRange", "Headers"),
    ORV_METHOD(ValidateFactorRange, "FactorRange", "Headers"),
    ORV_METHOD(ValidateEvenXYRange, "YRange", "XRange", "Headers"),
    ORV_METHOD(ValidateOutputRange, "OutputRange", Opt("Width", Long{-1}), Opt("Height", Long{-1}),
               Opt("OverWrite", false)),
    ORV_METHOD(ValidateNumericData, "NumericRange", "Headers", "DataType", Opt("DataInRows", false),
               Opt("MinCases", Long{0}), Opt("CheckVariance", false), Opt("MustBeInt", false),
               Opt("MustBePos", false), Opt("IgnoreBlanks", false), Opt("AllowUnevenVars", false)),
    ORV_METHOD(ValidateStringData, "StringRange", "Headers", "DataType", Opt("DataInRows", false),
               Opt("MinLength", Long{0}), Opt("IgnoreBlanks", false)),
    ORV_METHOD(ValidatePairedData, "DataRange", "Headers", Opt("DataInRows", false)),
    ORV_METHOD(TestRangeSize, "RangeObject", "row", "Col"),
    ORV_METHOD(ValidateSymemtricMatrix, "InputRange", "Headers", "MatrixType"))

ORV_CLASS_TABLE(clsMain, Instancing::Global, &Predeclared<clsMain>, ORV_SET(Excel), ORV_GET(Excel),
                ORV_METHOD(Getth, "Text"), ORV_METHOD(ArrayIsEmpty, "TestVar"),
                ORV_METHOD(DPArray, "ArrayToPrint"),
                ORV_METHOD(RepositionChart, "ChartName", "ChartHeight", "ChartWidth",
                           "HorizontalOffset", "VerticalOffset", "OutputRange"),
                ORV_METHOD(AxisTicks, "DataMin", "DataMax", "ApproxTicks", "Buffer",
                           "ReturnAxisMin", "ReturnAxisMax", "ReturnAxisUnit",
                           "ReturnDecimalPoints"))

ORV_CLASS_TABLE(clsFormatting, Instancing::Creatable, &NewBoxed<clsFormatting>,
                ORV_METHOD(SetHeaders, "rng", Opt("vertical", false)),
                ORV_METHOD(SetData, "rng", Opt("DontAlignCol1", false)),
                ORV_METHOD(SetTitles, "rng", Opt("Summary", false)),
                ORV_METHOD(FormatRange, "rngOutput", Opt("HeaderRows", Integer{0})))

ORV_CLASS_TABLE(clsProperties, Instancing::Creatable, &NewBoxed<clsProperties>, ORV_PROP(themeName),
                ORV_PROP(themeVersion), ORV_PROP(SummaryForeColour), ORV_PROP(SummaryBackColour),
                ORV_PROP(SummaryBold), ORV_PROP(SummaryItalic), ORV_PROP(TitleForeColour),
                ORV_PROP(TitleBackColour), ORV_PROP(TitlesBold), ORV_PROP(TitlesItalic),
                ORV_PROP(HeaderForeColour), ORV_PROP(HeaderBackColour), ORV_PROP(HeadersBold),
                ORV_PROP(HeadersItalic), ORV_PROP(HeaderWrap), ORV_PROP(HeaderAlign),
                ORV_PROP(DataForeColour), ORV_PROP(DataBackColour), ORV_PROP(DataBold),
                ORV_PROP(DataItalic), ORV_PROP(DecimalPlaces), ORV_PROP(RememberRefs),
                ORV_PROP(HelpOnTop), ORV_PROP(DisableSplash), ORV_PROP(QuickHelpVisible),
                ORV_PROP(QuickHelpScrollMode))

#define ORV_CONSTANT_PROP(Name) , ORV_PROP(Name)
ORV_CLASS_TABLE(clsConstants, Instancing::Global, &Predeclared<clsConstants>, ORV_GET(HELPFILE)
                    ORV_CLSCONSTANTS_VALUES(ORV_CONSTANT_PROP))
#undef ORV_CONSTANT_PROP

}  // namespace orv::automation
