#pragma once
// `orv serve --http`: the browser page and its JSON API on 127.0.0.1.
//
// The first line of standard output is the page's address with a random
// token (128 bits from /dev/urandom); every request must carry the token
// (query "token" or header X-Orv-Token), else 403. Each page opens a
// session (header X-Orv-Session or query "session"), whose file and
// workbooks are freed when the page ends it or after `idle_seconds`
// without a request. The client never names a path: an upload's bytes go
// to a folder the server makes for the session.
//
//   POST /api/session                 -> {"session", "max_upload", "idle_seconds"}
//   POST /api/session/end             frees the session
//   GET  /api/analyses                the registered analyses and their options
//   POST /api/upload?name=F.csv       body: the file's bytes -> the sheets
//   POST /api/sample                  the built-in iris sample -> the sheets
//   GET  /api/preview?sheet=S&rows=N  the first rows, column letters and cells
//   POST /api/run                     {"analysis", "choices"} -> tables and SVG charts
//   GET  /api/report                  the last run's workbook (.xlsx)
//   GET  /api/status                  {"sessions": live sessions}
// A failure answers {"error": text naming the cell, "field": the input or
// option that caused it}.
#include <ostream>

#include "http_seam.hpp"

namespace orv::web {

struct ServeOptions {
  int port = 0;  // 0: any free port
  int idle_seconds = 15 * 60;
  std::size_t max_sessions = 64;
  HttpLimits limits;
};

// Serves until SIGINT, SIGTERM or SIGHUP, then frees every session and its
// files and returns 0; 1 when the port cannot be bound.
int ServeHttp(const ServeOptions& options, std::ostream& out, std::ostream& err);

}  // namespace orv::web
