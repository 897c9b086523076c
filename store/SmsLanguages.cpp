#include "store/SmsLanguages.h"

#include "store/Recordset.h"

namespace SmsLanguages {
namespace {
    // Column of language 1..4: after ID and Ereignis.
    int column(int language) { return language + 1; }
    bool hasText(const Recordset& sms, int language)
    {
        const QVariant v = sms.value(column(language));
        return !v.isNull() && !v.toString().isEmpty();
    }
    template <typename F> void eachRow(Recordset& sms, F&& f)
    {
        if (sms.recordCount() == 0)
            return;
        sms.moveFirst();
        for (int r = 0; r < TextRows && !sms.eof(); ++r) {
            f();
            sms.moveNext();
        }
    }
}

int missing(Recordset& sms, int from, int to)
{
    int n = 0;
    eachRow(sms, [&] { n += hasText(sms, from) && !hasText(sms, to); });
    return n;
}

bool anyText(Recordset& sms, int language)
{
    bool any = false;
    eachRow(sms, [&] { any = any || hasText(sms, language); });
    return any;
}

int takeOver(Recordset& sms, int from, int to)
{
    int n = 0;
    eachRow(sms, [&] {
        if (hasText(sms, from) && !hasText(sms, to)) {
            sms.setValue(column(to), sms.value(column(from)));
            ++n;
        }
    });
    return n;
}

bool onlyElsewhere(Recordset& sms, int language)
{
    if (anyText(sms, language))
        return false;
    for (int other = 1; other <= 4; ++other)
        if (other != language && anyText(sms, other))
            return true;
    return false;
}
}
