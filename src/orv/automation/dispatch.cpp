#include "orv/automation/dispatch.hpp"

#include <algorithm>
#include <cctype>

#include "orv/automation/classes.hpp"
#include "orv/excel/Range.hpp"
#include "orv/frame/text.hpp"

namespace orv::automation {

namespace {

bool SameName(std::string_view a, std::string_view b) { return SameIgnoringCase(a, b); }

const std::vector<const ClassInfo*>& Registry() {
  static const std::vector<const ClassInfo*> all = [] {
    std::vector<const ClassInfo*> v;
#define ORV_LIST_CLASS(T) v.push_back(&ClassFor<T>());
    ORV_DISPATCHABLE(ORV_LIST_CLASS)
#undef ORV_LIST_CLASS
    return v;
  }();
  return all;
}

constexpr std::string_view kProject = "ORVMain.";

const ClassInfo* FindClass(std::string_view name) {
  if (name.size() > kProject.size() && SameName(name.substr(0, kProject.size()), kProject))
    name.remove_prefix(kProject.size());
  for (const ClassInfo* c : Registry())
    if (c->GetInstancing() != Instancing::Internal && SameName(c->Name(), name)) return c;
  return nullptr;
}

}  // namespace

const ClassInfo* ClassNamed(std::string_view name) { return FindClass(name); }

namespace {

const ClassInfo& ClassOrRaise(const ObjectPtr& object) {
  if (!object) RaiseBinding(kErrObjectNotSet);
  const ClassInfo* cls = ClassOf(*object);
  if (!cls) RaiseBinding(438);
  return *cls;
}

}  // namespace

void RaiseBinding(std::int32_t number) {
  std::string_view text;
  switch (number) {
    case 13:
      text = "Type mismatch";
      break;
    case 91:
      text = "Object variable or With block variable not set";
      break;
    case 424:
      text = "Object required";
      break;
    case 429:
      text = "ActiveX component can't create object";
      break;
    case 438:
      text = "Object doesn't support this property or method";
      break;
    case 448:
      text = "Named argument not found";
      break;
    case 449:
      text = "Argument not optional";
      break;
    case 450:
      text = "Wrong number of arguments or invalid property assignment";
      break;
    default:
      break;
  }
  Raise(number, {}, text);
}

void Member::CheckArity(std::string_view name, std::size_t given, std::size_t wanted) {
  if (given != wanted)
    throw std::logic_error("member table of " + std::string(name) + ": " + std::to_string(given) +
                           " parameter names for " + std::to_string(wanted) + " parameters");
}

ClassInfo::ClassInfo(std::string name, Instancing instancing, ObjectPtr (*factory)(),
                     std::vector<Member> members)
    : name_(std::move(name)),
      instancing_(instancing),
      factory_(factory),
      members_(std::move(members)) {
  if (auto colon = name_.rfind("::"); colon != std::string::npos) name_.erase(0, colon + 2);
  for (int i = 0; i < static_cast<int>(members_.size()); ++i) {
    const Member& m = members_[static_cast<std::size_t>(i)];
    auto [it, fresh] = ids_.try_emplace(Lower(m.name), static_cast<DispId>(entries_.size() + 1));
    if (fresh) entries_.push_back(Entry{m.name});
    Entry& e = entries_[static_cast<std::size_t>(it->second - 1)];
    int& slot = m.kind == kMethod        ? e.method
                : m.kind == kPropertyGet ? e.get
                : m.kind == kPropertyPut ? e.let
                                         : e.set;
    if (slot >= 0)
      throw std::logic_error("member table of " + name_ + ": " + std::string(m.name) + " twice");
    slot = i;
  }
}

const ClassInfo::Entry* ClassInfo::Find(DispId id) const {
  if (id < 1 || id > static_cast<DispId>(entries_.size())) return nullptr;
  return &entries_[static_cast<std::size_t>(id - 1)];
}

DispId ClassInfo::IdOf(std::string_view name) const {
  auto it = ids_.find(Lower(name));
  return it == ids_.end() ? kUnknownName : it->second;
}

ObjectPtr CreateObject(std::string_view name) {
  const ClassInfo* cls = FindClass(name);
  if (!cls) RaiseBinding(429);
  return cls->New();
}

ObjectPtr GlobalInstance(std::string_view name) {
  const ClassInfo* cls = FindClass(name);
  if (!cls || cls->GetInstancing() != Instancing::Global) RaiseBinding(429);
  return cls->New();
}

std::vector<ClassName> ClassNames() {
  std::vector<ClassName> out;
  for (const ClassInfo* c : Registry())
    if (c->GetInstancing() != Instancing::Internal)
      out.push_back({"ORVMain." + c->Name(), c->GetInstancing() == Instancing::Global});
  return out;
}

const ClassInfo* ClassOf(const Object& object) {
  if (auto* d = dynamic_cast<const Dispatchable*>(&object)) return &d->Class();
  return nullptr;
}

std::string ClassNameOf(const Object& object) {
  const ClassInfo* c = ClassOf(object);
  return c ? c->Name() : std::string();
}

DispId IdOfName(const ClassInfo& cls, std::string_view name) { return cls.IdOf(name); }

DispId IdOfName(const ObjectPtr& object, std::string_view name) {
  return ClassOrRaise(object).IdOf(name);
}

DispId IdOfParameter(const ClassInfo& cls, DispId member, std::string_view name) {
  const ClassInfo::Entry* e = cls.Find(member);
  if (!e) return kUnknownName;
  for (int index : {e->method, e->get, e->let, e->set}) {
    if (index < 0) continue;
    const auto& params = cls.Members()[static_cast<std::size_t>(index)].params;
    for (std::size_t i = 0; i < params.size(); ++i)
      if (SameName(params[i].name, name)) return static_cast<DispId>(i);
  }
  return kUnknownName;
}

ObjectPtr RequireObject(const Variant& v) {
  if (!v.IsObject()) RaiseBinding(424);
  return v.AsObject();
}

excel::Range RangeFromObject(const ObjectPtr& object) {
  excel::Range r = excel::Range::FromVariant(Variant(object));
  if (r.IsNothing()) RaiseBinding(kErrTypeMismatch);
  return r;
}

ObjectPtr ObjectOf(const Variant& value) {
  ObjectPtr p = RequireObject(value);
  // A range the object model handed out as a plain value becomes
  // dispatchable.
  if (p && !ClassOf(*p)) {
    excel::Range r = excel::Range::FromVariant(value);
    if (!r.IsNothing()) return Box(r);
  }
  return p;
}

template <class T>
T ArrayFrom(const Variant& v) {
  using E = typename T::value_type;
  if (!v.IsArray()) RaiseBinding(kErrTypeMismatch);
  auto element = [](const Variant& x) -> E {
    if constexpr (std::is_same_v<E, Variant>)
      return x;
    else
      return ConvertScalar<E>(x);
  };
  T out;
  int rank = v.Rank();
  if (rank == 1) {
    out.ReDim(v.LBound(1), v.UBound(1));
    for (std::int32_t i = v.LBound(1); i <= v.UBound(1); ++i) out.At(i) = element(v.Element(i));
  } else if (rank == 2) {
    out.ReDim(v.LBound(1), v.UBound(1), v.LBound(2), v.UBound(2));
    for (std::int32_t i = v.LBound(1); i <= v.UBound(1); ++i)
      for (std::int32_t j = v.LBound(2); j <= v.UBound(2); ++j)
        out.At(i, j) = element(v.Element(i, j));
  }
  return out;
}
template Array<double> ArrayFrom<Array<double>>(const Variant&);
template Array<std::string> ArrayFrom<Array<std::string>>(const Variant&);
template Array<Variant> ArrayFrom<Array<Variant>>(const Variant&);
template Array<std::int16_t> ArrayFrom<Array<std::int16_t>>(const Variant&);
template Array<std::int32_t> ArrayFrom<Array<std::int32_t>>(const Variant&);

std::string_view ParameterName(const ClassInfo& cls, DispId member, DispId param) {
  const ClassInfo::Entry* e = cls.Find(member);
  if (!e || param < 0) return {};
  for (int index : {e->method, e->get, e->let, e->set}) {
    if (index < 0) continue;
    const auto& params = cls.Members()[static_cast<std::size_t>(index)].params;
    if (static_cast<std::size_t>(param) < params.size())
      return params[static_cast<std::size_t>(param)].name;
  }
  return {};
}

Variant Invoke(const ObjectPtr& object, DispId member, std::uint16_t kind, std::span<Variant> args,
               std::span<const std::string_view> names, std::uint64_t* written) {
  const ClassInfo& cls = ClassOrRaise(object);
  const ClassInfo::Entry* e = cls.Find(member);
  if (!e) RaiseBinding(438);
  int index = -1;
  bool put = (kind & (kPropertyPut | kPropertyPutRef)) != 0;
  if (put) {
    if (args.empty()) RaiseBinding(450);
    bool object_value = args.back().IsObject();
    if (kind & kPropertyPutRef)
      index = e->set >= 0 ? e->set : e->let;
    else
      index = e->let >= 0 ? e->let : (object_value ? e->set : -1);
    if (index < 0) RaiseBinding(450);
  } else {
    if (kind & kMethod) index = e->method;
    if (index < 0 && (kind & (kPropertyGet | kMethod))) index = e->get;
    if (index < 0) RaiseBinding(438);
  }
  const Member& m = cls.Members()[static_cast<std::size_t>(index)];
  const std::size_t n = m.params.size();
  if (put && n == 0) RaiseBinding(450);
  std::array<Variant*, kMaxParameters> slots{};

  // The assigned value goes to the last parameter; the rest bind in order,
  // then by name.
  std::size_t count = args.size();
  if (put) {
    slots[n - 1] = &args[count - 1];
    --count;
  }
  const std::size_t open = put ? n - 1 : n;
  std::size_t positional = 0;
  while (positional < count && (positional >= names.size() || names[positional].empty()))
    ++positional;
  if (positional > open) RaiseBinding(450);
  for (std::size_t i = 0; i < positional; ++i) slots[i] = &args[i];
  for (std::size_t i = positional; i < count; ++i) {
    std::size_t p = 0;
    while (p < open && !(i < names.size() && SameName(m.params[p].name, names[i]))) ++p;
    if (p == open) RaiseBinding(448);
    if (slots[p]) RaiseBinding(450);
    slots[p] = &args[i];
  }
  for (std::size_t p = 0; p < n; ++p) {
    if (slots[p] && IsMissing(*slots[p])) slots[p] = nullptr;
    if (!slots[p] && !m.params[p].optional) RaiseBinding(449);
    if (written && slots[p] && m.params[p].by_ref)
      *written |= std::uint64_t{1} << static_cast<std::size_t>(slots[p] - args.data());
  }
  try {
    return m.call(*object, std::span<Variant* const>(slots.data(), n), m.params);
  } catch (const Error&) {
    throw;
  } catch (...) {
    throw CurrentAsError();
  }
}

Variant Invoke(const ObjectPtr& object, std::string_view member, std::uint16_t kind,
               std::span<Variant> args, std::span<const std::string_view> names,
               std::uint64_t* written) {
  DispId id = IdOfName(object, member);
  if (id == kUnknownName) RaiseBinding(438);
  return Invoke(object, id, kind, args, names, written);
}

}  // namespace orv::automation
