#include "core/AccessLevel.h"

namespace AccessLevel {
Level levelFor(const QString& password)
{
    if (password == QLatin1String("6054"))
        return Full;
    if (password == QLatin1String("3961"))
        return Service;
    return Normal;
}

QString decodeStored(const QString& stored)
{
    const QString t = stored.trimmed();
    if (t.isEmpty() || t.size() > 15)
        return QString();
    bool ok = false;
    const qulonglong v = t.toULongLong(&ok, 16);
    return ok ? QString::number(v) : QString();
}

bool loginAccepts(const QString& text)
{
    return text.isEmpty() || text == QLatin1String("3961") || text == QLatin1String("6054");
}
}
