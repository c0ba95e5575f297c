// The C entry points: handles, variants and error records around the
// late-bound calls. No exception leaves this file.
#define ORVMAIN_BUILDING
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "orv/automation/dispatch_detail.hpp"
#include "orv/automation/orvmain_c.h"

struct orv_object {
  std::atomic<std::uint32_t> refs{1};
  orv::automation::ObjectPtr object;
};

namespace orv::automation {
namespace {

std::atomic<long> g_live{0};

orv_object* NewHandle(ObjectPtr p) {
  auto* h = new orv_object;
  h->object = std::move(p);
  ++g_live;
  return h;
}

// A library-owned array: the Variant keeps the elements, the public part
// points into them.
struct ArrayBlob {
  orv_array pub{};
  Variant keep;
  std::vector<const char*> strings;
  std::vector<orv_variant> elements;
  ~ArrayBlob() {
    for (auto& e : elements) orv_variant_clear(&e);
  }
  // Points the public part at what keep holds.
  void Expose();
};

char* Duplicate(const std::string& s) {
  char* p = static_cast<char*>(std::malloc(s.size() + 1));
  if (!p) throw std::bad_alloc();
  std::memcpy(p, s.c_str(), s.size() + 1);
  return p;
}

void ToC(Variant&& v, orv_variant* out);

void ArrayBlob::Expose() {
  const AnyArray& any = keep.AsArray();
  std::visit(
      [&](const auto& a) {
        using E = typename std::decay_t<decltype(a)>::value_type;
        pub.rank = static_cast<std::uint16_t>(a.Rank());
        for (int d = 0; d < a.Rank(); ++d) {
          pub.lbound[d] = a.LBound(d + 1);
          pub.count[d] = a.Count(d + 1);
        }
        if constexpr (std::is_same_v<E, double>) {
          pub.element_type = ORV_VT_R8, pub.data = const_cast<double*>(a.data());
        } else if constexpr (std::is_same_v<E, std::int16_t>) {
          pub.element_type = ORV_VT_I2, pub.data = const_cast<std::int16_t*>(a.data());
        } else if constexpr (std::is_same_v<E, std::int32_t>) {
          pub.element_type = ORV_VT_I4, pub.data = const_cast<std::int32_t*>(a.data());
        } else if constexpr (std::is_same_v<E, std::string>) {
          pub.element_type = ORV_VT_BSTR;
          strings.clear();
          for (const auto& s : a.storage()) strings.push_back(s.c_str());
          pub.data = strings.data();
        } else {
          pub.element_type = ORV_VT_VARIANT;
          elements.assign(a.size(), orv_variant{});
          for (std::size_t i = 0; i < a.size(); ++i) ToC(Variant(a.storage()[i]), &elements[i]);
          pub.data = elements.data();
        }
      },
      any);
  pub.owner = this;
}

void ToC(Variant&& v, orv_variant* out) {
  *out = orv_variant{};
  out->type = static_cast<std::uint16_t>(v.Type());
  switch (v.Type()) {
    case VarType::Integer:
      out->u.i2 = v.AsInteger();
      break;
    case VarType::Long:
      out->u.i4 = v.AsLong();
      break;
    case VarType::Single:
      out->u.r4 = v.AsSingle();
      break;
    case VarType::Double:
      out->u.r8 = v.AsDouble();
      break;
    case VarType::Currency:
      out->u.cy = v.AsCurrency().scaled;
      break;
    case VarType::Date:
      out->u.date = v.AsDate().serial;
      break;
    case VarType::Boolean:
      out->u.boolean = v.AsBoolean() ? -1 : 0;
      break;
    case VarType::Error:
      out->u.error = v.AsError().code;
      break;
    case VarType::String:
      out->u.str.ptr = Duplicate(v.AsString());
      out->u.str.len = v.AsString().size();
      out->flags = ORV_OWNED;
      break;
    case VarType::Object: {
      ObjectPtr p = ObjectOf(v);
      out->u.object = p ? NewHandle(std::move(p)) : nullptr;
      out->flags = ORV_OWNED;
      break;
    }
    case VarType::Array: {
      auto blob = std::make_unique<ArrayBlob>();
      blob->keep = std::move(v);
      blob->Expose();
      out->type = static_cast<std::uint16_t>(ORV_VT_ARRAY | blob->pub.element_type);
      out->u.array = &blob.release()->pub;
      out->flags = ORV_OWNED;
      break;
    }
    default:
      break;
  }
}

ArrayBlob* BlobOf(const orv_variant& c) {
  if (!(c.type & ORV_VT_ARRAY) || !c.u.array || !c.u.array->owner) return nullptr;
  return static_cast<ArrayBlob*>(c.u.array->owner);
}

Variant FromC(const orv_variant& c);

template <class E, class F>
Variant ArrayFromC(const orv_array& a, F element) {
  Array<E> out;
  if (a.rank == 1) out.ReDim(a.lbound[0], a.lbound[0] + a.count[0] - 1);
  if (a.rank == 2)
    out.ReDim(a.lbound[0], a.lbound[0] + a.count[0] - 1, a.lbound[1], a.lbound[1] + a.count[1] - 1);
  if (a.rank > 2) Raise(kErrTypeMismatch);
  for (std::size_t i = 0; i < out.size(); ++i) out.storage()[i] = element(i);
  return Variant(std::move(out));
}

Variant FromC(const orv_variant& c) {
  if (c.type & ORV_VT_ARRAY) {
    if (ArrayBlob* blob = BlobOf(c)) return blob->keep;
    if (!c.u.array) return Variant(Array<Variant>());
    const orv_array& a = *c.u.array;
    switch (a.element_type) {
      case ORV_VT_R8: {
        const double* d = static_cast<const double*>(a.data);
        return ArrayFromC<double>(a, [&](std::size_t i) { return d[i]; });
      }
      case ORV_VT_I2: {
        const std::int16_t* d = static_cast<const std::int16_t*>(a.data);
        return ArrayFromC<std::int16_t>(a, [&](std::size_t i) { return d[i]; });
      }
      case ORV_VT_I4: {
        const std::int32_t* d = static_cast<const std::int32_t*>(a.data);
        return ArrayFromC<std::int32_t>(a, [&](std::size_t i) { return d[i]; });
      }
      case ORV_VT_BSTR: {
        const char* const* d = static_cast<const char* const*>(a.data);
        return ArrayFromC<std::string>(
            a, [&](std::size_t i) { return std::string(d[i] ? d[i] : ""); });
      }
      case ORV_VT_VARIANT: {
        const orv_variant* d = static_cast<const orv_variant*>(a.data);
        return ArrayFromC<Variant>(a, [&](std::size_t i) { return FromC(d[i]); });
      }
      default:
        Raise(kErrTypeMismatch);
    }
  }
  switch (c.type) {
    case ORV_VT_EMPTY:
      return Variant();
    case ORV_VT_NULL:
      return Variant(Null);
    case ORV_VT_I2:
      return Variant(c.u.i2);
    case ORV_VT_I4:
      return Variant(c.u.i4);
    case ORV_VT_R4:
      return Variant(c.u.r4);
    case ORV_VT_R8:
      return Variant(c.u.r8);
    case ORV_VT_CY:
      return Variant(Currency{c.u.cy});
    case ORV_VT_DATE:
      return Variant(Date{c.u.date});
    case ORV_VT_BOOL:
      return Variant(c.u.boolean != 0);
    case ORV_VT_ERROR:
      return Variant(ErrorValue{c.u.error});
    case ORV_VT_BSTR:
      return Variant(std::string(c.u.str.ptr ? c.u.str.ptr : "", c.u.str.len));
    case ORV_VT_OBJECT:
      return Variant(c.u.object ? c.u.object->object : ObjectPtr());
    default:
      Raise(kErrTypeMismatch);
  }
}

std::int32_t Fail(orv_error* err) {
  Error e = CurrentAsError();
  if (err) {
    orv_error_clear(err);
    err->number = e.Number;
    err->source = static_cast<char*>(std::malloc(e.Source.size() + 1));
    err->description = static_cast<char*>(std::malloc(e.Description.size() + 1));
    if (err->source) std::memcpy(err->source, e.Source.c_str(), e.Source.size() + 1);
    if (err->description)
      std::memcpy(err->description, e.Description.c_str(), e.Description.size() + 1);
  }
  return e.Number != 0 ? e.Number : kErrInvalidCall;
}

}  // namespace
}  // namespace orv::automation

using namespace orv::automation;

extern "C" {

int32_t orv_abi_version(void) { return ORVMAIN_ABI_VERSION; }

int32_t orv_create(const char* class_name, orv_object** out, orv_error* err) {
  try {
    *out = nullptr;
    *out = NewHandle(CreateObject(class_name ? class_name : ""));
    return 0;
  } catch (...) {
    return Fail(err);
  }
}

int32_t orv_get_global(const char* class_name, orv_object** out, orv_error* err) {
  try {
    *out = nullptr;
    *out = NewHandle(GlobalInstance(class_name ? class_name : ""));
    return 0;
  } catch (...) {
    return Fail(err);
  }
}

uint32_t orv_addref(orv_object* object) { return object ? ++object->refs : 0; }

uint32_t orv_release(orv_object* object) {
  if (!object) return 0;
  std::uint32_t left = --object->refs;
  if (left == 0) {
    delete object;
    --g_live;
  }
  return left;
}

int32_t orv_can_unload_now(void) { return g_live.load() == 0 ? 1 : 0; }

const char* orv_class_name(orv_object* object) {
  if (!object || !object->object) return "";
  const ClassInfo* cls = ClassOf(*object->object);
  return cls ? cls->Name().c_str() : "";
}

int32_t orv_ids_of_names(orv_object* object, const char* const* names, uint32_t count,
                         int32_t* ids) {
  try {
    if (!object || !object->object || count == 0) return -1;
    const ClassInfo* cls = ClassOf(*object->object);
    if (!cls) return -1;
    int32_t status = 0;
    ids[0] = cls->IdOf(names[0]);
    for (uint32_t i = 1; i < count; ++i) ids[i] = IdOfParameter(*cls, ids[0], names[i]);
    for (uint32_t i = 0; i < count; ++i) status = ids[i] < 0 ? -1 : status;
    return status;
  } catch (...) {
    return -1;
  }
}

int32_t orv_member_info(orv_object* object, int32_t member, uint16_t* kinds, int32_t* get_params) {
  if (!object || !object->object) return -1;
  const ClassInfo* cls = ClassOf(*object->object);
  const ClassInfo::Entry* e = cls ? cls->Find(member) : nullptr;
  if (!e) return -1;
  *kinds = static_cast<uint16_t>(
      (e->method >= 0 ? ORV_METHOD : 0) | (e->get >= 0 ? ORV_PROPERTYGET : 0) |
      (e->let >= 0 ? ORV_PROPERTYPUT : 0) | (e->set >= 0 ? ORV_PROPERTYPUTREF : 0));
  *get_params =
      e->get >= 0
          ? static_cast<int32_t>(cls->Members()[static_cast<std::size_t>(e->get)].params.size())
          : -1;
  return 0;
}

int32_t orv_invoke(orv_object* object, int32_t member, uint16_t kind, orv_variant* args,
                   uint32_t argc, const int32_t* named_ids, uint32_t named_count,
                   orv_variant* result, orv_error* err) {
  std::vector<orv::Variant> values;
  std::vector<ArrayBlob*> blobs(argc, nullptr);
  std::uint64_t written = 0;
  auto settle = [&] {
    for (uint32_t i = 0; i < values.size(); ++i) {
      if (i < 64 && (written >> i & 1)) {
        orv_variant_clear(&args[i]);
        ToC(std::move(values[i]), &args[i]);
        args[i].flags |= ORV_WRITTEN;
      } else if (blobs[i]) {
        blobs[i]->keep = std::move(values[i]);  // lent without a copy; back home
      }
    }
  };
  try {
    if (!object) orv::automation::RaiseBinding(orv::kErrObjectNotSet);
    values.reserve(argc);
    for (uint32_t i = 0; i < argc; ++i) {
      blobs[i] = BlobOf(args[i]);
      values.push_back(blobs[i] ? std::move(blobs[i]->keep) : FromC(args[i]));
    }
    std::vector<std::string_view> names;
    if (named_count > 0) {
      const ClassInfo* cls = object->object ? ClassOf(*object->object) : nullptr;
      names.assign(argc, std::string_view());
      for (uint32_t k = 0; k < named_count && k < argc; ++k) {
        std::string_view name = cls ? ParameterName(*cls, member, named_ids[k]) : "";
        names[argc - named_count + k] = name.empty() ? "\x01" : name;
      }
    }
    orv::Variant out = Invoke(object->object, member, kind, values, names, &written);
    settle();
    if (result) {
      orv_variant_clear(result);
      ToC(std::move(out), result);
    }
    return 0;
  } catch (...) {
    try {
      settle();
    } catch (...) {
    }
    return Fail(err);
  }
}

void orv_variant_clear(orv_variant* v) {
  if (!v) return;
  if (v->flags & ORV_OWNED) {
    if (v->type & ORV_VT_ARRAY) {
      if (v->u.array) delete static_cast<ArrayBlob*>(v->u.array->owner);
    } else if (v->type == ORV_VT_BSTR) {
      std::free(const_cast<char*>(v->u.str.ptr));
    } else if (v->type == ORV_VT_OBJECT) {
      orv_release(v->u.object);
    }
  }
  *v = orv_variant{};
}

double* orv_variant_new_double_array(orv_variant* v, uint16_t rank, const int32_t* lbound,
                                     const int32_t* count) {
  try {
    orv::Array<double> a;
    if (rank == 1)
      a.ReDim(lbound[0], lbound[0] + count[0] - 1);
    else if (rank == 2)
      a.ReDim(lbound[0], lbound[0] + count[0] - 1, lbound[1], lbound[1] + count[1] - 1);
    else if (rank != 0)
      return nullptr;
    orv_variant_clear(v);
    ToC(orv::Variant(std::move(a)), v);
    return static_cast<double*>(v->u.array->data);
  } catch (...) {
    return nullptr;
  }
}

void orv_error_clear(orv_error* err) {
  if (!err) return;
  std::free(err->source);
  std::free(err->description);
  *err = orv_error{};
}

}  // extern "C"
