#include "serve.hpp"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "orv/automation/dispatch.hpp"
#include "orv/frame/frame.hpp"

namespace orv::serve {

namespace {

using automation::ObjectPtr;
using nlohmann::json;

// A request that is not one: answered with protocol_error.
struct ProtocolError {
  std::string text;
};

class Session {
 public:
  explicit Session(const Limits& limits) : limits_(limits) {}
  json Handle(const json& request);
  std::size_t Live() const { return objects_.size(); }

 private:
  json Encode(const Variant& v);
  Variant Decode(const json& j);
  template <class T>
  json EncodeArray(const Array<T>& a);
  ObjectPtr& Object(const json& handle);

  const Limits& limits_;
  std::map<std::int64_t, ObjectPtr> objects_;
  std::int64_t next_ = 1;
};

json Tagged(const char* tag) { return json{{"$", tag}}; }

std::string Hex(std::uint64_t bits) {
  char buf[17];
  auto r = std::to_chars(buf, buf + 16, bits, 16);
  return std::string(16 - static_cast<std::size_t>(r.ptr - buf), '0') + std::string(buf, r.ptr);
}

json Number(double d) {
  if (std::isfinite(d)) return json(d);
  json j = Tagged("r8");
  j["bits"] = Hex(std::bit_cast<std::uint64_t>(d));
  return j;
}

template <class T>
json Session::EncodeArray(const Array<T>& a) {
  json j = Tagged("array");
  if constexpr (std::is_same_v<T, double>)
    j["type"] = "r8";
  else if constexpr (std::is_same_v<T, std::int16_t>)
    j["type"] = "i2";
  else if constexpr (std::is_same_v<T, std::int32_t>)
    j["type"] = "i4";
  else if constexpr (std::is_same_v<T, std::string>)
    j["type"] = "str";
  else
    j["type"] = "variant";
  json lb = json::array(), count = json::array(), data = json::array();
  for (int d = 1; d <= a.Rank(); ++d) lb.push_back(a.LBound(d)), count.push_back(a.Count(d));
  for (const T& x : a.storage()) {
    if constexpr (std::is_same_v<T, double>)
      data.push_back(Number(x));
    else if constexpr (std::is_same_v<T, Variant>)
      data.push_back(Encode(x));
    else
      data.push_back(x);
  }
  j["lbound"] = std::move(lb), j["count"] = std::move(count), j["data"] = std::move(data);
  return j;
}

json Session::Encode(const Variant& v) {
  switch (v.Type()) {
    case VarType::Empty:
      return Tagged("empty");
    case VarType::Null:
      return Tagged("null");
    case VarType::Integer:
      return json{{"$", "i2"}, {"v", v.AsInteger()}};
    case VarType::Long:
      return json(v.AsLong());
    case VarType::Single:
      return json{{"$", "r4"}, {"v", static_cast<double>(v.AsSingle())}};
    case VarType::Double:
      return Number(v.AsDouble());
    case VarType::Currency:
      return json{{"$", "cy"}, {"scaled", v.AsCurrency().scaled}};
    case VarType::Date:
      return json{{"$", "date"}, {"v", Number(v.AsDate().serial)}};
    case VarType::String:
      return json(v.AsString());
    case VarType::Boolean:
      return json(v.AsBoolean());
    case VarType::Error:
      if (automation::IsMissing(v)) return Tagged("missing");
      return json{{"$", "error"}, {"code", v.AsError().code}};
    case VarType::Object: {
      ObjectPtr p = automation::ObjectOf(v);
      if (!p) return json{{"$", "object"}, {"handle", nullptr}};
      if (objects_.size() >= limits_.max_objects) Raise(kErrOutOfMemory);
      objects_[next_] = std::move(p);
      return json{{"$", "object"}, {"handle", next_++}};
    }
    case VarType::Array:
      return std::visit([&](const auto& a) { return EncodeArray(a); }, v.AsArray());
  }
  return Tagged("empty");
}

double DoubleOf(const json& j) {
  if (j.is_number()) return j.get<double>();
  if (j.is_object() && j.value("$", "") == "r8" && j.contains("bits")) {
    std::uint64_t bits = 0;
    const std::string s = j["bits"].get<std::string>();
    auto r = std::from_chars(s.data(), s.data() + s.size(), bits, 16);
    if (r.ec != std::errc() || r.ptr != s.data() + s.size()) throw ProtocolError{"bad bits: " + s};
    return std::bit_cast<double>(bits);
  }
  throw ProtocolError{"a number was expected: " + j.dump()};
}

template <class T, class F>
Variant DecodeArray(const json& j, F element) {
  const json& lb = j.at("lbound");
  const json& count = j.at("count");
  const json& data = j.at("data");
  if (!lb.is_array() || !count.is_array() || lb.size() != count.size() || lb.size() > 2)
    throw ProtocolError{"an array has rank 0, 1 or 2 with one lbound and count each"};
  Array<T> a;
  std::size_t n = lb.empty() ? 0 : 1;
  for (std::size_t d = 0; d < lb.size(); ++d) {
    if (count[d].get<std::int64_t>() < 1 || count[d].get<std::int64_t>() > INT32_MAX)
      throw ProtocolError{"an array's count is 1 or more"};
    n *= count[d].get<std::size_t>();
  }
  if (!data.is_array() || data.size() != n)
    throw ProtocolError{"an array's data holds count[0] * count[1] values"};
  auto ub = [&](std::size_t d) {
    return static_cast<std::int32_t>(lb[d].get<std::int64_t>() + count[d].get<std::int64_t>() - 1);
  };
  if (lb.size() == 1) a.ReDim(lb[0].get<std::int32_t>(), ub(0));
  if (lb.size() == 2) a.ReDim(lb[0].get<std::int32_t>(), ub(0), lb[1].get<std::int32_t>(), ub(1));
  for (std::size_t i = 0; i < n; ++i) a.storage()[i] = element(data[i]);
  return Variant(std::move(a));
}

std::int32_t Int32(const json& j) {
  if (!j.is_number_integer()) throw ProtocolError{"an integer was expected: " + j.dump()};
  const std::int64_t x = j.get<std::int64_t>();
  if (!j.is_number_unsigned() && (x < INT32_MIN || x > INT32_MAX))
    throw ProtocolError{"an integer beyond 32 bits; write it as a double: " + j.dump()};
  if (j.is_number_unsigned() && j.get<std::uint64_t>() > INT32_MAX)
    throw ProtocolError{"an integer beyond 32 bits; write it as a double: " + j.dump()};
  return static_cast<std::int32_t>(x);
}

Variant Session::Decode(const json& j) {
  if (j.is_boolean()) return Variant(j.get<bool>());
  if (j.is_string()) return Variant(j.get<std::string>());
  if (j.is_number_integer()) return Variant(Int32(j));
  if (j.is_number_float()) return Variant(j.get<double>());
  if (!j.is_object() || !j.contains("$") || !j["$"].is_string())
    throw ProtocolError{"not a value: " + j.dump()};
  const std::string tag = j["$"].get<std::string>();
  if (tag == "empty") return Variant();
  if (tag == "null") return Variant(Null);
  if (tag == "missing") return automation::Missing();
  if (tag == "i2") {
    std::int32_t x = Int32(j.at("v"));
    if (x < INT16_MIN || x > INT16_MAX) throw ProtocolError{"i2 beyond 16 bits"};
    return Variant(static_cast<std::int16_t>(x));
  }
  if (tag == "r4") return Variant(static_cast<float>(DoubleOf(j.at("v"))));
  if (tag == "r8") return Variant(DoubleOf(j));
  if (tag == "cy") return Variant(Currency{j.at("scaled").get<std::int64_t>()});
  if (tag == "date") return Variant(Date{DoubleOf(j.at("v"))});
  if (tag == "error") return Variant(ErrorValue{Int32(j.at("code"))});
  if (tag == "object") {
    if (j.at("handle").is_null()) return Variant(ObjectPtr());
    return Variant(Object(j["handle"]));
  }
  if (tag == "array") {
    const std::string type = j.at("type").get<std::string>();
    if (type == "r8") return DecodeArray<double>(j, DoubleOf);
    if (type == "i4") return DecodeArray<std::int32_t>(j, Int32);
    if (type == "i2")
      return DecodeArray<std::int16_t>(j, [](const json& x) {
        std::int32_t v = Int32(x);
        if (v < INT16_MIN || v > INT16_MAX) throw ProtocolError{"i2 beyond 16 bits"};
        return static_cast<std::int16_t>(v);
      });
    if (type == "str")
      return DecodeArray<std::string>(j, [](const json& x) { return x.get<std::string>(); });
    if (type == "variant") return DecodeArray<Variant>(j, [&](const json& x) { return Decode(x); });
    throw ProtocolError{"unknown array type: " + type};
  }
  throw ProtocolError{"unknown value tag: " + tag};
}

ObjectPtr& Session::Object(const json& handle) {
  if (!handle.is_number_integer()) throw ProtocolError{"a handle is an integer"};
  auto it = objects_.find(handle.get<std::int64_t>());
  if (it == objects_.end()) Raise(kErrObjectNotSet);  // released or never made
  return it->second;
}

std::uint16_t KindOf(const json& request) {
  const std::string kind = request.value("kind", "method");
  if (kind == "method") return automation::kMethod | automation::kPropertyGet;
  if (kind == "get") return automation::kPropertyGet;
  if (kind == "let") return automation::kPropertyPut;
  if (kind == "set") return automation::kPropertyPutRef;
  throw ProtocolError{"kind is method, get, let or set: " + kind};
}

json Session::Handle(const json& request) {
  if (!request.is_object()) throw ProtocolError{"a request is a JSON object"};
  const std::string op = request.value("op", "");
  json response;
  if (op == "create") {
    if (objects_.size() >= limits_.max_objects) Raise(kErrOutOfMemory);
    ObjectPtr p = automation::CreateObject(request.at("class").get<std::string>());
    objects_[next_] = std::move(p);
    response["result"] = json{{"$", "object"}, {"handle", next_++}};
  } else if (op == "release") {
    if (objects_.erase(request.at("object").get<std::int64_t>()) == 0) Raise(kErrObjectNotSet);
    response["result"] = Tagged("empty");
  } else if (op == "invoke") {
    ObjectPtr target = Object(request.at("object"));
    std::vector<Variant> args;
    std::vector<std::string> names;
    if (request.contains("args"))
      for (const json& a : request["args"]) args.push_back(Decode(a)), names.emplace_back();
    if (request.contains("named"))
      for (const auto& [name, value] : request["named"].items())
        args.push_back(Decode(value)), names.push_back(name);
    std::vector<std::string_view> views(names.begin(), names.end());
    std::uint64_t written = 0;
    const json& member = request.at("member");
    if (!member.is_string()) throw ProtocolError{"member is a name"};
    Variant result = automation::Invoke(target, member.get<std::string>(), KindOf(request), args,
                                        views, &written);
    response["result"] = Encode(result);
    json byref = json::object();
    for (std::size_t i = 0; i < args.size() && i < 64; ++i)
      if (written >> i & 1)
        byref[names[i].empty() ? std::to_string(i) : names[i]] = Encode(args[i]);
    if (!byref.empty()) response["byref"] = std::move(byref);
  } else {
    throw ProtocolError{"op is create, invoke or release"};
  }
  return response;
}

// One line, at most max bytes; false at the end of the input. A longer
// line is read to its end and reported by `too_long`.
bool ReadLine(std::streambuf& in, std::string& line, std::size_t max, bool& too_long) {
  line.clear();
  too_long = false;
  int c = in.sbumpc();
  if (c == std::char_traits<char>::eof()) return false;
  for (; c != std::char_traits<char>::eof() && c != '\n'; c = in.sbumpc()) {
    if (line.size() < max)
      line.push_back(static_cast<char>(c));
    else
      too_long = true;
  }
  return true;
}

}  // namespace

std::size_t Serve(std::istream& in, std::ostream& out, const Limits& limits) {
  Session session(limits);
  const ElementLimit bound(limits.max_cells);
  std::string line;
  bool too_long = false;
  while (ReadLine(*in.rdbuf(), line, limits.max_line, too_long)) {
    if (!too_long && line.find_first_not_of(" \t\r") == std::string::npos) continue;
    json response;
    json id = nullptr;
    try {
      if (too_long)
        throw ProtocolError{"line longer than " + std::to_string(limits.max_line) + " bytes"};
      json request = json::parse(line);
      if (request.is_object() && request.contains("id")) id = request["id"];
      response = session.Handle(request);
    } catch (const ProtocolError& e) {
      response = json{{"protocol_error", e.text}};
    } catch (const json::exception& e) {
      response = json{{"protocol_error", e.what()}};
    } catch (...) {
      Error e = CurrentAsError();
      response = json{
          {"error", {{"number", e.Number}, {"source", e.Source}, {"description", e.Description}}}};
    }
    response["id"] = id;
    out << response.dump(-1, ' ', false, json::error_handler_t::replace) << '\n';
    out.flush();
  }
  return session.Live();
}

}  // namespace orv::serve
