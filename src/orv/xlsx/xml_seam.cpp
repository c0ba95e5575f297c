#include "orv/xlsx/xml_seam.hpp"

#include <expat.h>

#include <cstring>
#include <exception>
#include <memory>

#include "orv/xlsx/limits.hpp"

namespace orv::xlsx::detail {

namespace {

constexpr std::size_t kChunk = 256 * 1024;

std::string_view LocalName(const char* name) { return XmlAttributes::LocalName(name); }

struct Session {
  XML_Parser parser;
  XmlHandler* handler;
  // A failure thrown by the handler: kept while expat unwinds, since an
  // exception must not cross the parser's C frames.
  std::exception_ptr failure;
  int depth = 0;
  bool too_deep = false;
};

template <class Call>
void Guarded(Session& s, Call&& call) {
  if (s.failure) return;
  try {
    call();
  } catch (...) {
    s.failure = std::current_exception();
    XML_StopParser(s.parser, XML_FALSE);
  }
}

void XMLCALL OnStart(void* data, const XML_Char* name, const XML_Char** attributes) {
  auto& s = *static_cast<Session*>(data);
  if (++s.depth > kMaxXmlDepth) {
    if (!s.too_deep) XML_StopParser(s.parser, XML_FALSE);
    s.too_deep = true;
    return;
  }
  Guarded(s, [&] { s.handler->Start(LocalName(name), XmlAttributes(attributes)); });
}

void XMLCALL OnEnd(void* data, const XML_Char* name) {
  auto& s = *static_cast<Session*>(data);
  if (s.depth-- > kMaxXmlDepth) return;
  Guarded(s, [&] { s.handler->End(LocalName(name)); });
}

void XMLCALL OnText(void* data, const XML_Char* text, int length) {
  auto& s = *static_cast<Session*>(data);
  Guarded(s, [&] { s.handler->Text(text, static_cast<std::size_t>(length)); });
}

struct ParserFree {
  void operator()(XML_ParserStruct* p) const { XML_ParserFree(p); }
};

}  // namespace

std::string_view XmlAttributes::LocalName(const char* name) {
  const char* colon = std::strrchr(name, ':');
  return colon ? std::string_view(colon + 1) : std::string_view(name);
}

const char* XmlAttributes::Find(std::string_view name) const {
  for (const char** p = pairs_; *p != nullptr; p += 2)
    if (LocalName(p[0]) == name) return p[1];
  return nullptr;
}

bool ParseXml(const XmlSource& read, XmlHandler& handler, std::string& error) {
  std::unique_ptr<XML_ParserStruct, ParserFree> owner(XML_ParserCreate(nullptr));
  if (!owner) throw std::bad_alloc();
  XML_Parser parser = owner.get();
  Session session{parser, &handler, nullptr};
  XML_SetUserData(parser, &session);
  XML_SetElementHandler(parser, OnStart, OnEnd);
  XML_SetCharacterDataHandler(parser, OnText);
  for (;;) {
    void* buffer = XML_GetBuffer(parser, static_cast<int>(kChunk));
    if (buffer == nullptr) throw std::bad_alloc();
    std::size_t got = read(static_cast<char*>(buffer), kChunk);
    bool last = got == 0;
    XML_Status status = XML_ParseBuffer(parser, static_cast<int>(got), last ? XML_TRUE : XML_FALSE);
    if (session.failure) std::rethrow_exception(session.failure);
    if (status != XML_STATUS_OK) {
      const std::string what = session.too_deep
                                   ? "elements nested more than " + std::to_string(kMaxXmlDepth) +
                                         " deep, the limit"
                                   : XML_ErrorString(XML_GetErrorCode(parser));
      error = "line " + std::to_string(XML_GetCurrentLineNumber(parser)) + ", column " +
              std::to_string(XML_GetCurrentColumnNumber(parser) + 1) + ": " + what;
      return false;
    }
    if (last) return true;
  }
}

}  // namespace orv::xlsx::detail
