// SPDX-License-Identifier: GPL-3.0-or-later
// Reference store: opening, a stroke lookup (containment test over the stroke
// table) and an equality lookup.

#include <benchmark/benchmark.h>

#include "store/reference_store.h"

namespace {

const QString kStore = QStringLiteral(TESSALY_BINARY_DIR "/share/tessaly/kvdata.dat");

void BM_StoreOpen(benchmark::State& state) {
  for (auto _ : state) {
    tessaly::ReferenceStore store;
    store.Open(kStore);
    benchmark::DoNotOptimize(store.IsOpen());
  }
}
BENCHMARK(BM_StoreOpen)->Unit(benchmark::kMicrosecond);

void BM_StrokeLookup(benchmark::State& state) {
  tessaly::ReferenceStore store;
  store.Open(kStore);
  const QString chars[] = {QStringLiteral("张"), QStringLiteral("琳"), QStringLiteral("龥"),
                           QStringLiteral("一"), QStringLiteral("A")};
  const QString column = QStringLiteral("数字");
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(store.LookupField({tessaly::Table::Strokes, chars[i++ % 5]}, column));
  }
}
BENCHMARK(BM_StrokeLookup);

void BM_EqualityLookup(benchmark::State& state) {
  tessaly::ReferenceStore store;
  store.Open(kStore);
  const QString column = QStringLiteral("内容");
  int n = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        store.LookupField({tessaly::Table::EightyOne, QString::number(1 + n++ % 81)}, column));
  }
}
BENCHMARK(BM_EqualityLookup);

}  // namespace
