// SPDX-License-Identifier: GPL-3.0-or-later
// Lunar conversion over the whole calendar, 1901-01-01 .. 2050-12-31: the code
// alone, and the report's month-and-day text. Reported per date (items/s and
// the time_per_date counter).

#include <benchmark/benchmark.h>

#include <vector>

#include "calendar/lunar_calendar.h"

namespace {

const std::vector<QDate>& AllDates() {
  static const std::vector<QDate> dates = [] {
    std::vector<QDate> v;
    for (QDate d(1901, 1, 1); d <= QDate(2050, 12, 31); d = d.addDays(1)) v.push_back(d);
    return v;
  }();
  return dates;
}

void SetPerDate(benchmark::State& state, std::size_t per_iteration) {
  const auto items = static_cast<int64_t>(state.iterations() * per_iteration);
  state.SetItemsProcessed(items);
  // CPU seconds per date (shown with its prefix, e.g. 25n).
  state.counters["time_per_date"] = benchmark::Counter(
      static_cast<double>(items), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_LunarCodeOfEveryDate(benchmark::State& state) {
  const std::vector<QDate>& dates = AllDates();
  for (auto _ : state) {
    int sum = 0;
    for (const QDate& d : dates) sum += tessaly::LunarCodeOf(d);
    benchmark::DoNotOptimize(sum);
  }
  SetPerDate(state, dates.size());
}
BENCHMARK(BM_LunarCodeOfEveryDate)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

void BM_LunarDateTextOfEveryDate(benchmark::State& state) {
  const std::vector<QDate>& dates = AllDates();
  for (auto _ : state) {
    qsizetype total = 0;
    for (const QDate& d : dates) total += tessaly::LunarDateText(d).size();
    benchmark::DoNotOptimize(total);
  }
  SetPerDate(state, dates.size());
}
BENCHMARK(BM_LunarDateTextOfEveryDate)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

}  // namespace
