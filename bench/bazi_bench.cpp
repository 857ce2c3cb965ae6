// SPDX-License-Identifier: GPL-3.0-or-later
// The four pillars in-process: the eight characters with their details
// (elements, strength, favourable elements) and the luck periods, for random
// births 1902 .. 2049 (births per second as items_per_second); and the whole
// reading with its texts, time zone and true solar time.

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "core/dates.h"
#include "readings/four_pillars.h"
#include "readings/readings.h"

namespace {

const std::vector<tessaly::bazi::ChartInput>& Births() {
  static const std::vector<tessaly::bazi::ChartInput> births = [] {
    std::mt19937 random(1);
    // 1902-01-01 .. 2049-12-31 in local standard time (UTC+8), whole minutes.
    std::uniform_int_distribution<std::int64_t> minute(0, 148LL * 365 * 1440);
    std::vector<tessaly::bazi::ChartInput> v;
    for (int i = 0; i < 100000; ++i) {
      const std::int64_t local = -2145916800 + minute(random) * 60;
      v.push_back({local - 8 * 3600, local / 86400 - (local % 86400 < 0),
                   int(((local % 86400) + 86400) % 86400), i % 2 == 0, true});
    }
    return v;
  }();
  return births;
}

void BM_BaziCharts(benchmark::State& state) {
  const auto& births = Births();
  for (auto _ : state) {
    int sum = 0;
    for (const auto& b : births) {
      const tessaly::bazi::Chart c = tessaly::bazi::MakeChart(b);
      sum += c.pillars[3].stem + c.luck.periods[7].year + c.support;
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * births.size()));
}
BENCHMARK(BM_BaziCharts)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

void BM_BaziReading(benchmark::State& state) {
  tessaly::Person person;
  person.birthday = tessaly::DateTime::AtMidnight(QDate(1988, 2, 15));
  person.birth_time = QStringLiteral("23:30");
  person.birth_place = QStringLiteral("北京");
  for (auto _ : state) benchmark::DoNotOptimize(tessaly::ReadBazi(person).section.size());
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}
BENCHMARK(BM_BaziReading)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly();

}  // namespace
