#pragma once
// Late-bound calls: every public class, and the workbook object model's
// application, workbooks, worksheets, ranges and charts, reached by name.
//
//   auto m = CreateObject("ORVMain.CMatrix");
//   std::vector<Variant> args{Variant(Long{2}), Variant(Long{2})};
//   Invoke(m, IdOfName(m, "setsize"), kMethod, args);   // names ignore case
//   Variant v(1.5);
//   std::vector<Variant> put{Variant(Long{1}), v};
//   Invoke(m, IdOfName(m, "Item"), kPropertyPut, put);  // Item(1) = 1.5
//
// The value of a property assignment is the last argument. An argument
// that holds Missing() counts as left out. Arguments of by-reference
// parameters receive what the member wrote, even when it then failed.
// Objects travel as Variants holding an object (a null one is Nothing).
//
// Failures of the binding itself carry the platform's numbers and texts:
// 438 no such member, 450 wrong number of arguments or an assignment to
// what cannot be assigned, 449 a required argument left out, 448 an
// unknown argument name, 13 an argument that does not convert, 424 an
// object argument given something else, 91 a call through Nothing, 429 a
// class that cannot be created. A member's own failure arrives exactly as
// the member raised it.
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "orv/frame/Variant.hpp"

namespace orv::automation {

using DispId = std::int32_t;
inline constexpr DispId kUnknownName = -1;

// Call kinds; a plain call may be either of the first two.
enum CallKind : std::uint16_t {
  kMethod = 1,
  kPropertyGet = 2,
  kPropertyPut = 4,
  kPropertyPutRef = 8,
};

// The marker of an argument left out (an error value, as the platform has it).
inline constexpr std::int32_t kMissingCode = -2147352572;
inline Variant Missing() { return Variant(ErrorValue{kMissingCode}); }
inline bool IsMissing(const Variant& v) { return v.IsError() && v.AsError().code == kMissingCode; }

class ClassInfo;
using ObjectPtr = std::shared_ptr<Object>;

// "ORVMain.CMatrix" (or "CMatrix"), case ignored: a new object of a
// creatable class, the predeclared instance of a global one; 429 otherwise.
ObjectPtr CreateObject(std::string_view name);
// The predeclared instance of a global class; 429 for any other name.
ObjectPtr GlobalInstance(std::string_view name);
// The names CreateObject knows, and whether each is global.
struct ClassName {
  std::string name;
  bool global;
};
std::vector<ClassName> ClassNames();

// The class of a dispatchable object (nullptr for any other object).
const ClassInfo* ClassOf(const Object& object);
std::string ClassNameOf(const Object& object);

// The id of a member name (case ignored), or kUnknownName.
DispId IdOfName(const ObjectPtr& object, std::string_view name);
DispId IdOfName(const ClassInfo& cls, std::string_view name);
// The id of a parameter name of the member, or kUnknownName.
DispId IdOfParameter(const ClassInfo& cls, DispId member, std::string_view name);

// The name of parameter `param` of the member, or "" when there is none.
std::string_view ParameterName(const ClassInfo& cls, DispId member, DispId param);

// Calls the member. names, when given, names the arguments one to one; an
// empty name leaves its argument positional. Named arguments follow the
// positional ones. written, when given, gets bit i set for each argument i
// that was bound to a by-reference parameter (and so was written back).
Variant Invoke(const ObjectPtr& object, DispId member, std::uint16_t kind, std::span<Variant> args,
               std::span<const std::string_view> names = {}, std::uint64_t* written = nullptr);
// The same by member name.
Variant Invoke(const ObjectPtr& object, std::string_view member, std::uint16_t kind,
               std::span<Variant> args, std::span<const std::string_view> names = {},
               std::uint64_t* written = nullptr);

// The object a Variant holds (error 424 when it holds none; nullptr for
// Nothing).
ObjectPtr ObjectOf(const Variant& value);

}  // namespace orv::automation
