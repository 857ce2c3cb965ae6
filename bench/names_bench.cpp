// SPDX-License-Identifier: GPL-3.0-or-later
// Scoring names in memory: the stroke lookup, the grids, the ratings and the
// score of whole names, in names per second (items_per_second), and loading
// the tables from the store.

#include <benchmark/benchmark.h>

#include <random>

#include "readings/name_score.h"
#include "store/reference_store.h"

namespace {

const QString kStore = QStringLiteral(TESSALY_BINARY_DIR "/share/tessaly/kvdata.dat");

const tessaly::NameTables& Tables() {
  static const tessaly::NameTables tables = [] {
    tessaly::ReferenceStore store;
    store.Open(kStore);
    return tessaly::NameTables::Load(store);
  }();
  return tables;
}

// Two-character given names from the shipped list, in random order.
QStringList GivenNames() {
  const QStringList chars = tessaly::DefaultCharacterList();
  std::mt19937 random(15);
  QStringList names;
  for (int i = 0; i < 4096; ++i) {
    names << chars[random() % chars.size()] + chars[random() % chars.size()];
  }
  return names;
}

void BM_ScoreName(benchmark::State& state) {
  const tessaly::NameTables& tables = Tables();
  const QStringList names = GivenNames();
  const QString surname = QStringLiteral("张");
  qsizetype i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        tables.ScoreName({surname, names[i++ & 4095]}, tessaly::SurnameKind::Single));
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ScoreName);

void BM_NameGrids(benchmark::State& state) {
  int n = 0;
  for (auto _ : state) {
    const std::array<int, 4> strokes{11, 3 + (n & 15), 8 + (n >> 4 & 15), tessaly::kNoValue};
    benchmark::DoNotOptimize(tessaly::NameGridsOf(strokes, 3, tessaly::SurnameKind::Single));
    ++n;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_NameGrids);

void BM_LoadNameTables(benchmark::State& state) {
  tessaly::ReferenceStore store;
  store.Open(kStore);
  for (auto _ : state) benchmark::DoNotOptimize(tessaly::NameTables::Load(store));
}
BENCHMARK(BM_LoadNameTables)->Unit(benchmark::kMillisecond);

}  // namespace
