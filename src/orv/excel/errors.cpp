#include "orv/excel/errors.hpp"
#include "orv/excel/internal/detail.hpp"

#include "orv/frame/Error.hpp"

namespace orv::excel {

namespace {
// Failures of the workbook carry the application's name as their source.
constexpr std::string_view kSource = "Microsoft Excel";
}  // namespace

void Raise1004(std::string_view description) { Raise(kErrApplication, kSource, description); }

void RaiseApplicationDefined() { Raise1004("Application-defined or object-defined error"); }

void RaiseMethodFailed(std::string_view method, std::string_view object) {
  std::string text = "Method '";
  text += method;
  text += "' of object '";
  text += object;
  text += "' failed";
  Raise1004(text);
}

void RaiseUnableToGet(std::string_view property, std::string_view cls) {
  std::string text = "Unable to get the ";
  text += property;
  text += " property of the ";
  text += cls;
  text += " class";
  Raise1004(text);
}

void RaiseUnableToSet(std::string_view property, std::string_view cls) {
  std::string text = "Unable to set the ";
  text += property;
  text += " property of the ";
  text += cls;
  text += " class";
  Raise1004(text);
}

void RaiseClassMethodFailed(std::string_view method, std::string_view cls) {
  std::string text(method);
  text += " method of ";
  text += cls;
  text += " class failed";
  Raise1004(text);
}

}  // namespace orv::excel
