#include "web_server.hpp"

#include <pthread.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <csignal>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <nlohmann/json.hpp>
#include <sstream>
#include <thread>

#include "orv/excel/Worksheet.hpp"
#include "orv/excel/reference.hpp"
#include "orv/frame/text.hpp"
#include "orv/xlsx/chart_svg.hpp"
#include "orv/xlsx/xlsx_writer.hpp"
#include "orv_report/web_page.hpp"
#include "analysis_picks.hpp"
#include "library_session.hpp"
#include "report.hpp"
#include "report_failure.hpp"
#include "web_analyses.hpp"

namespace orv::web {

namespace {

using nlohmann::json;
using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

constexpr int kPreviewRows = 30, kMaxPreviewRows = 200, kMaxPreviewColumns = 60;

// A failure answered to the page: status, text, and the control it concerns.
struct Refusal {
  int status;
  std::string text;
  std::string field;
};

std::string RandomHex(std::size_t bytes) {
  std::ifstream in("/dev/urandom", std::ios::binary);
  std::string raw(bytes, '\0');
  if (!in.read(raw.data(), static_cast<std::streamsize>(bytes)))
    throw std::runtime_error("cannot read /dev/urandom");
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (unsigned char c : raw) hex += kDigits[c >> 4], hex += kDigits[c & 15];
  return hex;
}

// The library keeps one application for all its classes (clsMain.SetExcel):
// one request at a time works with it.
std::mutex library;

// The library's application for one request, one request at a time.
class LibraryTurn {
 public:
  explicit LibraryTurn(const excel::Application& app) : lock_(library), session_(app) {}

 private:
  std::lock_guard<std::mutex> lock_;
  report::LibrarySession session_;
};

struct Session {
  std::mutex busy;  // one request of a page at a time
  Clock::time_point last = Clock::now();
  fs::path dir;  // made by the server; holds the uploaded file
  bool loaded = false;
  std::string file;       // in dir; empty for the sample
  std::string shown;      // the name the page gave, or the sample's
  excel::Application preview_app;
  excel::Workbook preview{Nothing};
  excel::Application run_app;
  RunResult result;

  ~Session() {
    std::error_code ec;
    if (!dir.empty()) fs::remove_all(dir, ec);
  }
};

json Cell(const Variant& v, const std::string& format) {
  if (v.IsNumber() && !v.IsBoolean()) {
    const double d = CDbl(v);
    return json{{"v", d}, {"t", xlsx::FormattedNumber(d, format)}};
  }
  if (v.IsBoolean()) return json{{"v", v.AsBoolean()}, {"t", v.AsBoolean() ? "TRUE" : "FALSE"}};
  if (v.IsEmpty()) return json{{"v", nullptr}, {"t", ""}};
  std::string text;
  try {
    text = CStr(v);
  } catch (...) {
    text = "#VALUE!";
  }
  return json{{"v", text}, {"t", text}};
}

std::string FormatOf(const excel::Range& cell) {
  const Variant f = cell.NumberFormat();
  return f.IsString() ? f.AsString() : std::string("General");
}

json SheetsOf(const excel::Workbook& book) {
  json sheets = json::array();
  for (std::int32_t i = 1; i <= book.Worksheets().Count(); ++i) {
    const excel::Worksheet s = book.Worksheets(i);
    const excel::Range used = s.UsedRange();
    sheets.push_back({{"name", s.Name()},
                      {"rows", used.Row() + used.Rows().Count() - 1},
                      {"columns", used.Column() + used.Columns().Count() - 1}});
  }
  return json{{"workbook", book.Name()}, {"sheets", sheets}, {"active", book.ActiveSheet().Name()}};
}

// Rows first_row .. last_row of a block, each cell as Cell gives it.
json Rows(const excel::Range& block, Long first_row, Long last_row, Long width) {
  json rows = json::array();
  for (Long r = first_row; r <= last_row; ++r) {
    json row = json::array();
    for (Long c = 1; c <= width; ++c) {
      const excel::Range cell = block.Cells(r, c);
      row.push_back(Cell(cell.Value(), FormatOf(cell)));
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

json Preview(const excel::Workbook& book, const std::string& name, int rows) {
  excel::Worksheet sheet(Nothing);
  try {
    sheet = book.Worksheets(name);
  } catch (const Error&) {
    throw Refusal{404, "the workbook has no sheet \"" + name + "\"", "sheet"};
  }
  const excel::Range used = sheet.UsedRange();
  const Long last_row = std::min<Long>(used.Row() + used.Rows().Count() - 1, rows);
  const Long last_column =
      std::min<Long>(used.Column() + used.Columns().Count() - 1, kMaxPreviewColumns);
  json letters = json::array();
  for (Long c = 1; c <= last_column; ++c) letters.push_back(excel::ColumnLetters(c));
  return json{{"sheet", sheet.Name()},
              {"letters", letters},
              {"rows", Rows(sheet.Cells(), 1, last_row, last_column)},
              {"total_rows", used.Row() + used.Rows().Count() - 1}};
}

json TableJson(const RunTable& t) {
  const excel::Range& cells = t.cells;
  json header = json::array();
  const Long height = cells.Rows().Count(), width = cells.Columns().Count();
  for (Long c = 1; c <= width; ++c) header.push_back(CStr(cells.Cells(1, c).Value()));
  return json{{"title", t.title},
              {"address", cells.Worksheet().Name() + "!" + cells.Address(false, false)},
              {"header", header},
              {"rows", Rows(cells, 2, height, width)}};
}

// A table of the analysis layer: numbers at full precision in "v", as the
// command line prints them in "t".
json TableJson(const analysis::Table& t) {
  json header = json::array({t.label_header});
  for (const std::string& c : t.columns) header.push_back(c);
  json rows = json::array();
  for (std::size_t i = 0; i < t.rows.size(); ++i) {
    json row = json::array({json{{"v", t.rows[i]}, {"t", t.rows[i]}}});
    for (std::size_t c = 0; c < t.columns.size(); ++c) {
      const double v = t.values[i][c];
      row.push_back({{"v", std::isfinite(v) ? json(v) : json(nullptr)},
                     {"t", report::ShownNumber(t.columns[c], v)}});
    }
    rows.push_back(std::move(row));
  }
  return json{{"title", t.title}, {"header", header}, {"rows", rows}};
}

// Which control a failure's text concerns.
std::string FieldOf(const std::string& text) {
  auto has = [&](const char* s) { return text.find(s) != std::string::npos; };
  if (has("--level") || has("confidence level")) return "level";
  for (const char* option : {"y", "pair", "variable", "mu", "bins"})
    if (has(("--" + std::string(option)).c_str())) return option;
  if (has("grouping variable") || has("--group")) return "group";
  if (has("--decimal-comma") || has("--separator")) return "decimal_comma";
  if (has("--drop-incomplete")) return "missing";
  if (has("has no sheet")) return "sheet";
  return "range";
}

class Server {
 public:
  explicit Server(const ServeOptions& options)
      : options_(options), token_(RandomHex(16)), root_(MakeRoot()) {}
  ~Server() {
    {
      std::lock_guard<std::mutex> lock(sessions_mutex_);
      sessions_.clear();
    }
    std::error_code ec;
    fs::remove_all(root_, ec);
  }

  const std::string& Token() const { return token_; }

  HttpResponse Handle(const HttpRequest& request) {
    try {
      Sweep();
      return Route(request);
    } catch (const Refusal& r) {
      return Json(r.status, json{{"error", r.text}, {"field", r.field}});
    } catch (const json::exception& e) {
      return Json(400, json{{"error", std::string("the request is not valid JSON: ") + e.what()},
                            {"field", ""}});
    } catch (...) {
      return Json(500, json{{"error", report::DescribeError(CurrentAsError())}, {"field", ""}});
    }
  }

  // Frees the sessions idle too long; runs until `stop`.
  void SweepEvery(std::chrono::seconds period, std::stop_token stop) {
    std::mutex m;
    std::condition_variable_any wake;
    std::unique_lock<std::mutex> lock(m);
    while (!stop.stop_requested()) {
      wake.wait_for(lock, stop, period, [] { return false; });
      if (!stop.stop_requested()) Sweep();
    }
  }

 private:
  static fs::path MakeRoot() {
    std::string pattern = (fs::temp_directory_path() / "orv-web-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary folder");
    return pattern;
  }

  // With a charset, which also keeps the HTTP library from compressing
  // answers that only travel over loopback (brotli on megabytes of SVG
  // takes longer than the analysis).
  static HttpResponse Json(int status, const json& body) {
    return {status, "application/json; charset=utf-8",
            body.dump(-1, ' ', false, json::error_handler_t::replace), {}};
  }

  bool TokenOk(const HttpRequest& r) const {
    auto q = r.query.find("token");
    if (q != r.query.end() && q->second == token_) return true;
    auto h = r.headers.find("x-orv-token");
    return h != r.headers.end() && h->second == token_;
  }

  void Sweep() {
    std::vector<std::shared_ptr<Session>> expired;
    {
      std::lock_guard<std::mutex> lock(sessions_mutex_);
      const auto limit = Clock::now() - std::chrono::seconds(options_.idle_seconds);
      for (auto it = sessions_.begin(); it != sessions_.end();) {
        if (it->second->last < limit) {
          expired.push_back(std::move(it->second));
          it = sessions_.erase(it);
        } else {
          ++it;
        }
      }
    }
    // Workbooks are freed outside the map's lock, one library turn at a time.
    if (!expired.empty()) {
      std::lock_guard<std::mutex> lock(library);
      expired.clear();
    }
  }

  static std::string SessionId(const HttpRequest& r) {
    if (auto h = r.headers.find("x-orv-session"); h != r.headers.end()) return h->second;
    if (auto q = r.query.find("session"); q != r.query.end()) return q->second;
    return {};
  }

  std::shared_ptr<Session> SessionOf(const HttpRequest& r) {
    std::lock_guard<std::mutex> lock(sessions_mutex_);
    auto it = sessions_.find(SessionId(r));
    if (it == sessions_.end())
      throw Refusal{404, "this page's session has ended (it was idle too long); reload the page",
                    "session"};
    it->second->last = Clock::now();
    return it->second;
  }

  HttpResponse Route(const HttpRequest& r) {
    if (!TokenOk(r))
      return Json(403, json{{"error", "the token is missing or wrong: open the address that "
                                      "`orv serve --http` printed"},
                            {"field", ""}});
    if (r.method == "GET" && (r.path == "/" || r.path == "/index.html"))
      return {200, "text/html; charset=utf-8", std::string(report::kWebPage),
              {{"Cache-Control", "no-store"}}};
    if (r.method == "GET" && r.path == "/api/analyses") {
      json list = json::array();
      for (const Analysis& a : Analyses())
        list.push_back({{"name", a.name}, {"title", a.title}, {"schema", a.schema}});
      return Json(200, list);
    }
    if (r.method == "GET" && r.path == "/api/status") {
      // What is idle too long is gone by now, whenever the sweeper last ran.
      Sweep();
      std::lock_guard<std::mutex> lock(sessions_mutex_);
      return Json(200, json{{"sessions", sessions_.size()}});
    }
    if (r.method == "POST" && r.path == "/api/session") return NewSession();
    if (!r.path.starts_with("/api/")) return Json(404, json{{"error", "no such page: " + r.path}});

    std::shared_ptr<Session> s = SessionOf(r);
    if (r.method == "POST" && r.path == "/api/session/end") {
      {
        std::lock_guard<std::mutex> lock(sessions_mutex_);
        sessions_.erase(SessionId(r));
      }
      // Waits for a request of the page still running, then frees.
      { std::lock_guard<std::mutex> busy(s->busy); }
      std::lock_guard<std::mutex> lock(library);
      s.reset();
      return Json(200, json{{"ended", true}});
    }
    std::lock_guard<std::mutex> busy(s->busy);
    if (r.method == "POST" && r.path == "/api/upload") return Upload(*s, r);
    if (r.method == "POST" && r.path == "/api/sample") return Load(*s, "", "iris.csv");
    if (r.method == "GET" && r.path == "/api/preview") return PreviewOf(*s, r);
    if (r.method == "POST" && r.path == "/api/run") return Run(*s, r);
    if (r.method == "GET" && r.path == "/api/report") return Report(*s);
    return Json(404, json{{"error", "no such call: " + r.method + " " + r.path}});
  }

  HttpResponse NewSession() {
    std::string id = RandomHex(16);
    auto s = std::make_shared<Session>();
    {
      std::lock_guard<std::mutex> lock(sessions_mutex_);
      if (sessions_.size() >= options_.max_sessions)
        throw Refusal{503, "too many pages are open at once; close one and reload", ""};
      s->dir = root_ / id;
      fs::create_directory(s->dir);
      sessions_[id] = s;
    }
    return Json(200, json{{"session", id},
                          {"max_upload", options_.limits.max_body},
                          {"idle_seconds", options_.idle_seconds}});
  }

  HttpResponse Upload(Session& s, const HttpRequest& r) {
    auto q = r.query.find("name");
    const std::string given = q == r.query.end() ? "" : q->second;
    // Only the name's last part, in plain characters, and a known extension.
    std::string base = fs::path(given).filename().string();
    for (char& c : base)
      if (!std::isalnum(static_cast<unsigned char>(c)) && std::string_view("._- ()").find(c) ==
                                                              std::string_view::npos)
        c = '_';
    const std::string ext = Lower(fs::path(base).extension().string());
    if (ext != ".xlsx" && ext != ".csv" && ext != ".tsv" && ext != ".txt")
      throw Refusal{415, "only .xlsx and .csv files (also .tsv, .txt) can be opened, not \"" +
                             given + "\"", "file"};
    if (base.size() > 120) base = base.substr(base.size() - 120);
    if (base.front() == '.') base = "file" + base;
    const fs::path path = s.dir / base;
    {
      std::ofstream out(path, std::ios::binary | std::ios::trunc);
      out.write(r.body.data(), static_cast<std::streamsize>(r.body.size()));
      if (!out) throw Refusal{507, "the server cannot store the file", "file"};
    }
    return Load(s, path.string(), base);
  }

  // A message in the page's words: the server's own paths become the name
  // the page gave, the command line's options the page's controls.
  static std::string Shown(const Session& s, std::string text) {
    auto replace = [&](const std::string& from, const std::string& to) {
      if (from.empty()) return;
      for (std::size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
        text.replace(at, from.size(), to);
    };
    replace(s.file, s.shown);
    replace("use --drop-incomplete", "choose \"leave out incomplete cases\" under Blank cells");
    replace("--drop-incomplete", "\"leave out incomplete cases\"");
    replace("--decimal-comma", "\"CSV numbers use a decimal comma\"");
    replace("--level", "the confidence level");
    replace("--range", "Variables");
    replace("--x", "Variables");
    replace("--y", "Y column");
    replace("--pair", "Pair");
    replace("--variable", "Histogram of");
    replace("--mu", "the mean tested against");
    replace("--bins", "Bins");
    replace("--group", "the grouping column");
    replace("--sheet", "Sheet");
    replace("--na", "the missing-value codes");
    return text;
  }

  static Refusal Failed(const Session& s, const report::ReportFailure& f, const std::string& field) {
    return {422, Shown(s, f.Message()), field.empty() ? FieldOf(f.Message()) : field};
  }

  HttpResponse Load(Session& s, const std::string& file, const std::string& shown) {
    // A new file ends what the session held.
    {
      std::lock_guard<std::mutex> lock(library);
      s.preview = excel::Workbook(Nothing);
      s.result = RunResult{};
      s.preview_app = excel::Application();
      s.run_app = excel::Application();
    }
    s.loaded = false;
    std::error_code ec;
    if (!s.file.empty() && s.file != file) fs::remove(s.file, ec);
    s.file = file;
    s.shown = shown;
    report::ReportOptions options;
    if (!file.empty()) options.input = file;
    std::vector<std::string> notices;
    json answer;
    try {
      LibraryTurn turn(s.preview_app);
      s.preview = report::OpenInput(s.preview_app, options, notices);
      answer = SheetsOf(s.preview);
      answer["workbook"] = shown;
    } catch (const report::ReportFailure& f) {
      throw Failed(s, f, "file");
    } catch (const Error& e) {
      throw Refusal{422, Shown(s, report::DescribeError(e)), "file"};
    }
    for (std::string& n : notices) n = Shown(s, n);
    answer["notes"] = notices;
    answer["sample"] = file.empty();
    s.loaded = true;
    return Json(200, answer);
  }

  static void NeedFile(const Session& s) {
    if (!s.loaded) throw Refusal{409, "open a file or the sample first", "file"};
  }

  HttpResponse PreviewOf(Session& s, const HttpRequest& r) {
    NeedFile(s);
    int rows = kPreviewRows;
    if (auto q = r.query.find("rows"); q != r.query.end())
      rows = std::clamp(std::atoi(q->second.c_str()), 1, kMaxPreviewRows);
    const std::string sheet = r.query.count("sheet") ? r.query.at("sheet") : "";
    LibraryTurn turn(s.preview_app);
    return Json(200, Preview(s.preview, sheet.empty() ? s.preview.ActiveSheet().Name() : sheet,
                             rows));
  }

  HttpResponse Run(Session& s, const HttpRequest& r) {
    NeedFile(s);
    const json request = json::parse(r.body);
    const std::string name = request.value("analysis", "");
    const Analysis* analysis = FindAnalysis(name);
    if (!analysis) throw Refusal{400, "no analysis named \"" + name + "\"", "analysis"};
    json choices = request.value("choices", json::object());
    if (!choices.is_object()) throw Refusal{400, "choices are a JSON object", "analysis"};
    // A fresh application for each run: the input opens anew, and the last
    // result is freed.
    {
      std::lock_guard<std::mutex> lock(library);
      s.result = RunResult{};
      s.run_app = excel::Application();
    }
    LibraryTurn turn(s.run_app);
    try {
      s.result = analysis->run(s.run_app, RunInput{s.file, choices});
    } catch (const report::ReportFailure& f) {
      throw Failed(s, f, "");
    } catch (const Error& e) {
      const std::string text = report::DescribeError(e);
      throw Refusal{422, Shown(s, text), FieldOf(text)};
    }
    json tables = json::array(), charts = json::array();
    for (const RunTable& t : s.result.tables) tables.push_back(TableJson(t));
    for (const analysis::Table& t : s.result.results) tables.push_back(TableJson(t));
    if (!s.result.chart_sheet.IsNothing())
      for (const xlsx::ChartSvg& c : xlsx::ChartsAsSvg(s.result.chart_sheet))
        charts.push_back({{"name", c.name}, {"title", c.title}, {"svg", c.svg}});
    json notes = json::array();
    for (const std::string& n : s.result.notes) notes.push_back(Shown(s, n));
    return Json(200, json{{"analysis", name}, {"tables", tables}, {"charts", charts},
                          {"notes", notes}});
  }

  HttpResponse Report(Session& s) {
    if (s.result.book.IsNothing()) throw Refusal{409, "run an analysis first", "analysis"};
    const fs::path path = s.dir / "report.xlsx";
    {
      LibraryTurn turn(s.run_app);
      try {
        xlsx::SaveXlsx(s.result.book, path.string());
      } catch (const Error& e) {
        throw Refusal{500, "the report cannot be written: " + e.Description, "analysis"};
      }
    }
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    std::error_code ec;
    fs::remove(path, ec);
    return {200, "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet", bytes.str(),
            {{"Content-Disposition", "attachment; filename=\"report.xlsx\""}}};
  }

  ServeOptions options_;
  std::string token_;
  fs::path root_;
  std::mutex sessions_mutex_;
  std::map<std::string, std::shared_ptr<Session>> sessions_;
};

}  // namespace

int ServeHttp(const ServeOptions& options, std::ostream& out, std::ostream& err) {
  Server server(options);
  HttpServer http(options.limits, [&](const HttpRequest& r) { return server.Handle(r); });
  const int port = http.Bind("127.0.0.1", options.port);
  if (port <= 0) {
    err << "orv serve: cannot listen on 127.0.0.1:" << options.port << '\n';
    return 1;
  }
  out << "http://127.0.0.1:" << port << "/?token=" << server.Token() << std::endl;
  err << "orv serve: the page above; uploads up to " << (options.limits.max_body >> 20)
      << " MB; a page's files are freed " << options.idle_seconds
      << " s after its last request; Ctrl-C ends" << std::endl;
  // Ctrl-C and the like end the serving, so that the sessions' files go
  // with the server: every thread started from here on leaves the signals
  // to one that waits for them.
  sigset_t stops;
  sigemptyset(&stops);
  for (int signal_number : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&stops, signal_number);
  pthread_sigmask(SIG_BLOCK, &stops, nullptr);
  std::jthread waiter([&] {
    int signal_number = 0;
    sigwait(&stops, &signal_number);
    http.Stop();
  });
  std::jthread sweeper([&](std::stop_token stop) {
    server.SweepEvery(std::chrono::seconds(std::clamp(options.idle_seconds / 4, 1, 60)), stop);
  });
  http.Run();
  pthread_kill(waiter.native_handle(), SIGTERM);  // when serving ended otherwise
  return 0;
}

}  // namespace orv::web
