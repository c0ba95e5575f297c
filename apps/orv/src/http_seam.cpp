#include "http_seam.hpp"

#include <httplib.h>

#include <cctype>

#include "orv/frame/text.hpp"

namespace orv::web {

struct HttpServer::Impl {
  httplib::Server server;
  Handler handler;
};

HttpServer::HttpServer(const HttpLimits& limits, Handler handler) : impl_(std::make_unique<Impl>()) {
  impl_->handler = std::move(handler);
  httplib::Server& s = impl_->server;
  s.set_payload_max_length(limits.max_body);
  s.set_read_timeout(limits.read_timeout_seconds, 0);
  s.set_write_timeout(limits.write_timeout_seconds, 0);
  const auto serve = [this](const httplib::Request& in, httplib::Response& out) {
    HttpRequest request;
    request.method = in.method;
    request.path = in.path;
    for (const auto& [name, value] : in.params) request.query.emplace(name, value);
    for (const auto& [name, value] : in.headers) {
      request.headers.emplace(Lower(name), value);
    }
    request.body = in.body;
    HttpResponse response = impl_->handler(request);
    out.status = response.status;
    for (auto& [name, value] : response.headers) out.set_header(name.c_str(), value);
    out.set_content(std::move(response.body), response.content_type.c_str());
  };
  s.Get(".*", serve);
  s.Post(".*", serve);
  s.Delete(".*", serve);
}

HttpServer::~HttpServer() = default;

int HttpServer::Bind(const std::string& host, int port) {
  if (port == 0) return impl_->server.bind_to_any_port(host);
  return impl_->server.bind_to_port(host, port) ? port : -1;
}

void HttpServer::Run() { impl_->server.listen_after_bind(); }

void HttpServer::Stop() { impl_->server.stop(); }

}  // namespace orv::web
