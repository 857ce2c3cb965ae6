// SPDX-License-Identifier: GPL-3.0-or-later
// The profile store: saving one profile (a transaction written through to the
// disk), and opening the store and listing 1,000 profiles.

#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include "store/profile_store.h"

namespace {

tessaly::Profile Person(int n) {
  tessaly::Profile p = tessaly::NewProfile();
  p.name = QStringLiteral("李雨桐");
  p.birthday = QDate(1950, 1, 1).addDays(n);
  return p;
}

void BM_ProfileSave(benchmark::State& state) {
  QTemporaryDir dir;
  tessaly::ProfileStore store;
  store.Open(dir.path() + QStringLiteral("/tessaly/profiles.sqlite"));
  int n = 0;
  for (auto _ : state) benchmark::DoNotOptimize(store.Save(Person(n++ % 1000)));
}
BENCHMARK(BM_ProfileSave)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

void BM_ProfileOpenAndList1000(benchmark::State& state) {
  QTemporaryDir dir;
  const QString path = dir.path() + QStringLiteral("/tessaly/profiles.sqlite");
  {
    tessaly::ProfileStore store;
    store.Open(path);
    QList<tessaly::Profile> all;
    for (int i = 0; i < 1000; ++i) all += Person(i);
    store.SaveAll(all);
  }
  for (auto _ : state) {
    tessaly::ProfileStore store;
    store.Open(path);
    benchmark::DoNotOptimize(store.Profiles().size());
  }
}
BENCHMARK(BM_ProfileOpenAndList1000)->Unit(benchmark::kMillisecond);

}  // namespace
