#include "core/Resources.h"

#include <QtGlobal>

static void initOnce() { Q_INIT_RESOURCE(resources); }

void smsv48InitResources()
{
    static const bool done = (initOnce(), true);
    (void)done;
}
