#include "core/DemoDisplay.h"

void DemoDisplay::reset()
{
    m_lamp = 0;
    m_second = 0;
}

void DemoDisplay::set(int lamp, int colour)
{
    if (lamp < 0)
        modem = colour;
    else
        led[static_cast<size_t>(lamp)] = colour;
    if (onLamp)
        onLamp(lamp, colour);
}

void DemoDisplay::tick()
{
    if (m_lamp != 8) {
        set(m_lamp, Green);
        ++m_lamp;
        if (m_second == 2) {
            m_second = 0;
            set(-1, Green);
            ++flashes;
            if (waitFlash)
                waitFlash();
            set(-1, White);
        } else {
            ++m_second;
        }
    } else {
        m_lamp = 0;
        for (int i = 0; i < 8; ++i)
            set(i, White);
    }
}
