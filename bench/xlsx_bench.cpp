// Files of the workbook against the tools a user would otherwise reach for,
// over a sheet of 1,000,000 rows by 20 columns of doubles (files in /tmp).
//
//   BM_WriteXlsx_Ours/1000000         xlsx::SaveXlsx of the sheet
//   BM_WriteXlsx_Libxlsxwriter/...    libxlsxwriter alone, constant-memory
//                                     mode, worksheet_write_number per cell
//   BM_ReadXlsx_Ours/1000000          xlsx::OpenXlsx of the file we wrote
//   BM_ReadXlsx_Openpyxl/...          python3 + openpyxl loading the same
//                                     file read-only and walking its values
//                                     (the whole python process, timed here)
//   BM_ReadCsv_Ours/1000000           xlsx::OpenCsv of the same numbers as
//                                     text ("%.17g", comma separated)
//   BM_ReadCsv_Strtod/...             strtod over the same text in memory
//
// Counters of BM_ReadXlsx_Ours: model_MB (the cells' storage) and
// peak_growth_MB (how far the peak resident set rose above where it stood
// before the read; the peak is reset first through /proc/self/clear_refs).
#include <benchmark/benchmark.h>
#include <xlsxwriter.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "orv/excel/excel.hpp"
#include "orv/xlsx/xlsx.hpp"

namespace {

constexpr int kRows = 1000000;
constexpr int kColumns = 20;

const std::string& Folder() {
  static const std::string folder = [] {
    std::string f = "/tmp/orv_xlsx_bench";
    std::filesystem::create_directories(f);
    return f;
  }();
  return folder;
}

// The numbers, row by row: random doubles in [0, 1000) with all 17 digits.
const std::vector<double>& Numbers() {
  static const std::vector<double> numbers = [] {
    std::vector<double> v(static_cast<std::size_t>(kRows) * kColumns);
    std::mt19937_64 random(42);
    std::uniform_real_distribution<double> uniform(0.0, 1000.0);
    for (double& d : v) d = uniform(random);
    return v;
  }();
  return numbers;
}

struct Model {
  orv::excel::Application app;
  orv::excel::Workbook book;
  Model() {
    book = app.Workbooks().Add();
    auto& cells = book.Worksheets(1).Storage().cells;
    const std::vector<double>& n = Numbers();
    for (int r = 0; r < kRows; ++r)
      for (int c = 0; c < kColumns; ++c)
        cells.SetNumber(r + 1, c + 1, n[static_cast<std::size_t>(r) * kColumns + c]);
  }
};

Model& TheModel() {
  static Model model;
  return model;
}

std::string OursXlsx() { return Folder() + "/ours.xlsx"; }

void EnsureOursXlsx() {
  if (!std::filesystem::exists(OursXlsx())) orv::xlsx::SaveXlsx(TheModel().book, OursXlsx());
}

std::string Csv() {
  std::string path = Folder() + "/numbers.csv";
  if (!std::filesystem::exists(path)) {
    std::FILE* f = std::fopen(path.c_str(), "w");
    const std::vector<double>& n = Numbers();
    for (int r = 0; r < kRows; ++r)
      for (int c = 0; c < kColumns; ++c)
        std::fprintf(f, c + 1 < kColumns ? "%.17g," : "%.17g\n",
                     n[static_cast<std::size_t>(r) * kColumns + c]);
    std::fclose(f);
  }
  return path;
}

long StatusKb(const char* field) {
  std::ifstream in("/proc/self/status");
  std::string line;
  while (std::getline(in, line))
    if (line.rfind(field, 0) == 0)
      return std::strtol(line.c_str() + std::strlen(field), nullptr, 10);
  return 0;
}

void BM_WriteXlsx_Ours(benchmark::State& state) {
  Model& model = TheModel();
  for (auto _ : state) orv::xlsx::SaveXlsx(model.book, Folder() + "/ours_write.xlsx");
}
BENCHMARK(BM_WriteXlsx_Ours)->Arg(kRows)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

void BM_WriteXlsx_Libxlsxwriter(benchmark::State& state) {
  const std::vector<double>& n = Numbers();
  for (auto _ : state) {
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    std::string path = Folder() + "/peer_write.xlsx";
    lxw_workbook* wb = workbook_new_opt(path.c_str(), &options);
    lxw_worksheet* ws = workbook_add_worksheet(wb, nullptr);
    for (int r = 0; r < kRows; ++r)
      for (int c = 0; c < kColumns; ++c)
        worksheet_write_number(ws, static_cast<lxw_row_t>(r), static_cast<lxw_col_t>(c),
                               n[static_cast<std::size_t>(r) * kColumns + c], nullptr);
    if (workbook_close(wb) != LXW_NO_ERROR) state.SkipWithError("libxlsxwriter failed");
  }
}
BENCHMARK(BM_WriteXlsx_Libxlsxwriter)
    ->Arg(kRows)
    ->Unit(benchmark::kSecond)
    ->Iterations(1)
    ->UseRealTime();

void BM_ReadXlsx_Ours(benchmark::State& state) {
  EnsureOursXlsx();
  double model_mb = 0, growth_mb = 0;
  for (auto _ : state) {
    orv::excel::Application app;
    {
      std::ofstream("/proc/self/clear_refs") << "5";  // the peak starts from here
    }
    long before = StatusKb("VmRSS:");
    orv::excel::Workbook book = orv::xlsx::OpenXlsx(app, OursXlsx());
    long peak = StatusKb("VmHWM:");
    model_mb = static_cast<double>(book.Worksheets(1).Storage().cells.MemoryBytes()) / 1048576.0;
    growth_mb = static_cast<double>(peak - before) / 1024.0;
    benchmark::DoNotOptimize(book);
  }
  state.counters["model_MB"] = model_mb;
  state.counters["peak_growth_MB"] = growth_mb;
}
BENCHMARK(BM_ReadXlsx_Ours)->Arg(kRows)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

void BM_ReadXlsx_Openpyxl(benchmark::State& state) {
  EnsureOursXlsx();
  std::string command =
      "/usr/bin/python3 -c \"import openpyxl,sys\n"
      "wb=openpyxl.load_workbook(sys.argv[1], read_only=True)\n"
      "n=0\n"
      "for row in wb.active.iter_rows(values_only=True):\n"
      "    for v in row:\n"
      "        n+=v is not None\n"
      "print(n)\" " +
      OursXlsx() + " > " + Folder() + "/openpyxl_count.txt";
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) state.SkipWithError("python3 with openpyxl failed");
  }
}
BENCHMARK(BM_ReadXlsx_Openpyxl)->Arg(kRows)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

void BM_ReadCsv_Ours(benchmark::State& state) {
  std::string path = Csv();
  for (auto _ : state) {
    orv::excel::Application app;
    orv::excel::Workbook book = orv::xlsx::OpenCsv(app, path);
    benchmark::DoNotOptimize(book);
  }
}
BENCHMARK(BM_ReadCsv_Ours)->Arg(kRows)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

void BM_ReadCsv_Strtod(benchmark::State& state) {
  std::string text;
  {
    std::ifstream in(Csv(), std::ios::binary);
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  for (auto _ : state) {
    const char* p = text.c_str();
    double sum = 0;
    while (*p) {
      char* end;
      sum += std::strtod(p, &end);
      p = end + 1;  // over the comma or line break
    }
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_ReadCsv_Strtod)->Arg(kRows)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
