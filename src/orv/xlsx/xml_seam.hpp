#pragma once
// The XML seam: a part of the package parsed as a stream of events (expat),
// so that a sheet of a million rows never sits in memory as a tree. Element
// and attribute names reach the handler without their namespace prefix.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace orv::xlsx::detail {

// The attributes of a start tag: name, value, name, value, ..., null.
class XmlAttributes {
 public:
  explicit XmlAttributes(const char** pairs) : pairs_(pairs) {}
  // The value of the attribute whose local name is `name`, or null.
  const char* Find(std::string_view name) const;
  // Calls visit(local name, value) for each attribute.
  template <class Visit>
  void ForEach(Visit&& visit) const {
    for (const char** p = pairs_; *p != nullptr; p += 2) visit(LocalName(p[0]), p[1]);
  }
  static std::string_view LocalName(const char* name);

 private:
  const char** pairs_;
};

class XmlHandler {
 public:
  virtual ~XmlHandler() = default;
  virtual void Start(std::string_view name, const XmlAttributes& attributes) = 0;
  virtual void End(std::string_view name) = 0;
  // Character data, in as many pieces as the parser likes.
  virtual void Text(const char* data, std::size_t length) = 0;
};

// Feeds the parser from `read` (which fills a buffer and returns the count,
// 0 at the end). A failure of the XML gives false and "line L, column C:
// <what>" in `error`; a failure the handler or `read` throws passes through
// unchanged once the parser is out of the way.
using XmlSource = std::function<std::size_t(char* buffer, std::size_t size)>;
bool ParseXml(const XmlSource& read, XmlHandler& handler, std::string& error);

}  // namespace orv::xlsx::detail
