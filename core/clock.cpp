// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/clock.h"

#include <atomic>

namespace tessaly {
namespace {

std::atomic<const Clock*> g_clock{nullptr};

}  // namespace

QDateTime Clock::Now() {
  const Clock* clock = g_clock.load();
  return clock != nullptr ? clock->Current() : QDateTime::currentDateTime();
}

const Clock* Clock::SetInstance(const Clock* clock) { return g_clock.exchange(clock); }

}  // namespace tessaly
