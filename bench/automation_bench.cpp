// The late-bound interface's cost: a scalar member call through Invoke next
// to the direct C++ call; a 1,000,000 x 20 matrix of doubles into and out of
// a CMatrix through the C entry points next to memcpy of the same bytes in
// and out; orv serve's small calls (items_per_second is calls per second).
#include <benchmark/benchmark.h>

#include <cstring>
#include <sstream>
#include <vector>

#include "orv/automation/dispatch.hpp"
#include "orv/automation/orvmain_c.h"
#include "orv/matrix/CMatrix.hpp"
#include "serve.hpp"

namespace {

using namespace orv;

CMatrix Square() {
  CMatrix m;
  Array<double> a(1, 3, 1, 3);
  for (std::size_t i = 0; i < a.size(); ++i) a.storage()[i] = static_cast<double>(i) + 0.5;
  m.LetValues(a);
  return m;
}

void BM_ScalarCall_Direct(benchmark::State& state) {
  CMatrix m = Square();
  Long r = 2, c = 3;
  for (auto _ : state) {
    benchmark::DoNotOptimize(r);
    benchmark::DoNotOptimize(m.Item(r, c));
  }
}
BENCHMARK(BM_ScalarCall_Direct);

void BM_ScalarCall_Ours(benchmark::State& state) {
  auto m = automation::CreateObject("ORVMain.CMatrix");
  std::vector<Variant> set{Variant(Array<double>(Square().Values()))};
  automation::Invoke(m, "Values", automation::kPropertyPut, set);
  const automation::DispId item = automation::IdOfName(m, "Item");
  std::vector<Variant> args{Variant(Long{2}), Variant(Long{3})};
  for (auto _ : state)
    benchmark::DoNotOptimize(automation::Invoke(m, item, automation::kPropertyGet, args));
}
BENCHMARK(BM_ScalarCall_Ours);

constexpr int32_t kRows = 1000000, kCols = 20;
constexpr std::size_t kCount = std::size_t{kRows} * kCols;

// Into the matrix (Values let) and out again (Values get), the array made
// by the library and filled in place as a client fills it.
void BM_ArrayInOut_Ours(benchmark::State& state) {
  orv_object* m = nullptr;
  orv_create("ORVMain.CMatrix", &m, nullptr);
  const char* name = "Values";
  int32_t id = 0;
  orv_ids_of_names(m, &name, 1, &id);
  orv_variant in{}, out{};
  const int32_t lb[2] = {1, 1}, n[2] = {kRows, kCols};
  double* d = orv_variant_new_double_array(&in, 2, lb, n);
  for (std::size_t i = 0; i < kCount; ++i) d[i] = static_cast<double>(i);
  for (auto _ : state) {
    orv_invoke(m, id, ORV_PROPERTYPUT, &in, 1, nullptr, 0, nullptr, nullptr);
    orv_invoke(m, id, ORV_PROPERTYGET, nullptr, 0, nullptr, 0, &out, nullptr);
    benchmark::DoNotOptimize(out.u.array->data);
    orv_variant_clear(&out);
  }
  orv_variant_clear(&in);
  orv_release(m);
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(2 * kCount * sizeof(double)));
}
BENCHMARK(BM_ArrayInOut_Ours)->Unit(benchmark::kMillisecond);

void BM_ArrayInOut_Memcpy(benchmark::State& state) {
  std::vector<double> client(kCount), inside(kCount);
  for (std::size_t i = 0; i < kCount; ++i) client[i] = static_cast<double>(i);
  for (auto _ : state) {
    std::memcpy(inside.data(), client.data(), kCount * sizeof(double));
    std::vector<double> back(kCount);  // a fresh result, as the call returns one
    std::memcpy(back.data(), inside.data(), kCount * sizeof(double));
    benchmark::DoNotOptimize(back.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(2 * kCount * sizeof(double)));
}
BENCHMARK(BM_ArrayInOut_Memcpy)->Unit(benchmark::kMillisecond);

void BM_ServeCalls_Ours(benchmark::State& state) {
  std::string lines = R"({"id":0,"op":"create","class":"ORVMain.CMatrix"})"
                      "\n"
                      R"({"id":1,"op":"invoke","object":1,"member":"SetSize","args":[3,3]})"
                      "\n";
  constexpr int kCalls = 10000;
  for (int i = 0; i < kCalls; ++i)
    lines += R"({"id":)" + std::to_string(i) +
             R"(,"op":"invoke","object":1,"member":"Item","kind":"get","args":[2,3]})"
             "\n";
  for (auto _ : state) {
    std::istringstream in(lines);
    std::ostringstream out;
    serve::Serve(in, out);
    benchmark::DoNotOptimize(out.str().size());
  }
  state.SetItemsProcessed(state.iterations() * (kCalls + 2));
}
BENCHMARK(BM_ServeCalls_Ours)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
