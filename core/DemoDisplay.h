#pragma once
// The status-lamp demonstration: eight lamps light up one per tick, go dark together on the
// ninth tick, and the modem lamp flashes on every third lamp step. Colours are BGR values.
#include <array>
#include <functional>

class DemoDisplay {
public:
    static constexpr int Green = 65280;
    static constexpr int White = 0xFFFFFF;

    void reset(); // both counters to 0
    void tick(); // one step (the Timer_DemoMode tick)

    std::array<int, 8> led {White, White, White, White, White, White, White, White};
    int modem = White;
    int flashes = 0; // modem flashes so far

    // Called whenever a lamp changes: index 0..7 for ShpLed, -1 for ShpModem.
    std::function<void(int lamp, int colour)> onLamp;
    // Waits while the modem lamp is green (100 ms in the program).
    std::function<void()> waitFlash;

private:
    void set(int lamp, int colour);
    int m_lamp = 0; // next lamp 0..8
    int m_second = 0; // lamp steps since the last flash 0..2
};
