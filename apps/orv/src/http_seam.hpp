#pragma once
// A small HTTP/1.1 server on one address: every request, whatever its path
// or method, goes to one handler. Nothing outside this file sees
// cpp-httplib.
//
// Bodies longer than `max_body` are refused with 413 before they are read;
// a client that sends or reads too slowly is dropped after the timeouts; a
// client that goes away mid-request costs nothing afterwards.
#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace orv::web {

struct HttpRequest {
  std::string method;  // "GET", "POST", ...
  std::string path;    // without the query
  std::map<std::string, std::string> query;
  std::map<std::string, std::string> headers;  // names in lower case
  std::string body;
};

struct HttpResponse {
  int status = 200;
  std::string content_type = "application/json";
  std::string body;
  std::vector<std::pair<std::string, std::string>> headers;
};

struct HttpLimits {
  std::size_t max_body = 50u << 20;
  int read_timeout_seconds = 30;
  int write_timeout_seconds = 30;
};

class HttpServer {
 public:
  using Handler = std::function<HttpResponse(const HttpRequest&)>;
  HttpServer(const HttpLimits& limits, Handler handler);
  ~HttpServer();
  HttpServer(const HttpServer&) = delete;
  HttpServer& operator=(const HttpServer&) = delete;

  // Binds host:port (port 0: any free one); returns the port, or -1.
  int Bind(const std::string& host, int port);
  // Serves until Stop.
  void Run();
  void Stop();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace orv::web
