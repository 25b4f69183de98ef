// Letting time pass in tests without sleeping a fixed time: messages keep running while a
// condition is polled up to a deadline, or while a witness timer counts its periods.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include "forms/runtime/form.h"

namespace testing_support {

// Lets messages run until `done` holds or the deadline passes.
template <typename Condition>
bool WaitFor(Condition done, DWORD milliseconds = 3000) {
    ULONGLONG deadline = GetTickCount64() + milliseconds;
    for (;;) {
        forms::ProcessPendingMessages();
        if (done()) return true;
        if (GetTickCount64() > deadline) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

// Lets messages run while `count` periods of a witness timer pass: time in which a timer under
// test would have fired, had it been running.
inline int& WitnessTicks() {
    static int ticks = 0;
    return ticks;
}

inline void LetPeriodsPass(int count, UINT period) {
    WitnessTicks() = 0;
    UINT_PTR witness =
        SetTimer(nullptr, 0, period, [](HWND, UINT, UINT_PTR, DWORD) { ++WitnessTicks(); });
    EXPECT_TRUE(WaitFor([&] { return WitnessTicks() >= count; }, count * period * 20 + 2000));
    KillTimer(nullptr, witness);
}

}  // namespace testing_support
