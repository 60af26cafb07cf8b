// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <functional>
#include <memory>

// A clock that moves only when the test moves it. Copies of clock() share the same time.
class FakeClock {
public:
    explicit FakeClock(double start = 700000000.0) : m_time(std::make_shared<double>(start)) { }

    std::function<double()> clock() const
    {
        auto time = m_time;
        return [time] {
            return *time;
        };
    }
    double now() const { return *m_time; }
    void set(double instant) { *m_time = instant; }
    void advance(double seconds) { *m_time += seconds; }

private:
    std::shared_ptr<double> m_time;
};
