#include "core/Progress.h"

#include <algorithm>

namespace {
int g_value = 0;
void (*g_listener)(int) = nullptr;
}

namespace LoadingProgress {
void advance(int steps)
{
    g_value = std::min(Maximum, g_value + steps);
    if (g_listener)
        g_listener(g_value);
}
void reset()
{
    g_value = 0;
    if (g_listener)
        g_listener(g_value);
}
int value() { return g_value; }
void setListener(void (*fn)(int)) { g_listener = fn; }
}
