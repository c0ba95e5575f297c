#pragma once
// The analyses the browser page offers, each registered once here: its
// name, what the page asks for (the options' schema), and a run function
// that writes its tables and charts into a new workbook of the application
// it is given.
//
//   {"name": "report", "title": "Statistics report",
//    "inputs": ["variables", "group"],   // also "y", "pair"
//    "options": [{"id": "level", "type": "number", "label": "Confidence level",
//                 "default": 0.95, "min": 0, "max": 1}, ...]}
//
// A run fails with a ReportFailure (or an orv::Error) whose message names
// the cell, and `field` says which input or option caused it when known.
#include <functional>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "orv/analysis/analysis.hpp"
#include "orv/excel/Application.hpp"
#include "orv/excel/Range.hpp"
#include "orv/excel/Workbook.hpp"

namespace orv::web {

// What a run reads: the session's file (a path the server made, never one
// from the client; empty for the built-in sample) and the page's choices:
// "sheet", "range", "group", "y", "pair" (texts, absent when not chosen),
// "headers", and the analysis' own options by id.
struct RunInput {
  std::string file;
  nlohmann::json choices;
};

struct RunTable {
  std::string title;
  excel::Range cells;  // the header row and the data rows
};

struct RunResult {
  excel::Workbook book{Nothing};
  std::vector<RunTable> tables;          // tables as cells of the workbook
  std::vector<analysis::Table> results;  // or as numbers at full precision
  excel::Worksheet chart_sheet{Nothing};  // where the charts are
  std::vector<std::string> notes;         // read otherwise than it stands, charts left out
};

struct Analysis {
  std::string name;
  std::string title;
  nlohmann::json schema;  // inputs and options, as above
  std::function<RunResult(const excel::Application&, const RunInput&)> run;
};

const std::vector<Analysis>& Analyses();
const Analysis* FindAnalysis(const std::string& name);

}  // namespace orv::web
