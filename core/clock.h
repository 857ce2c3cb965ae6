// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the program reads today's date and the time of day. The system clock
// answers unless another clock is put in its place: a test puts a FixedClock
// in place, so that nothing it checks changes at midnight.

#include <QDate>
#include <QDateTime>

#include <utility>

namespace tessaly {

class Clock {
 public:
  virtual ~Clock() = default;

  // The local date and time by this clock.
  virtual QDateTime Current() const = 0;

  // The date and time by the clock in use.
  static QDateTime Now();
  static QDate Today() { return Now().date(); }

  // Puts `clock` in use (nullptr: the system clock) and returns the one it
  // replaces. The caller keeps `clock` alive while it is in use.
  static const Clock* SetInstance(const Clock* clock);
};

// A clock stopped at one moment. It is in use while it lives and gives the
// previous clock back when it goes.
class FixedClock : public Clock {
 public:
  explicit FixedClock(QDateTime at) : at_(std::move(at)), previous_(SetInstance(this)) {}
  explicit FixedClock(QDate day) : FixedClock(QDateTime(day, QTime(0, 0))) {}
  ~FixedClock() override { SetInstance(previous_); }
  FixedClock(const FixedClock&) = delete;
  FixedClock& operator=(const FixedClock&) = delete;

  QDateTime Current() const override { return at_; }

 private:
  QDateTime at_;
  const Clock* previous_;
};

}  // namespace tessaly
