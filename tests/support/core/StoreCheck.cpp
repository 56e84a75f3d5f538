#include "StoreCheck.h"

#include "store/Store.h"

namespace kvl::test {

namespace {

template <typename Table, typename Rows>
QString rowsMismatch(const char *what, const Table &table, const Rows &rows)
{
    for (std::size_t i = 0; i < rows.size(); ++i)
        for (std::size_t f = 0; f < rows[i].size(); ++f)
            if (table(int(i) + 1, int(f) + 1) != rows[i][f])
                return QStringLiteral("%1 row %2 field %3: %4, expected %5")
                    .arg(QLatin1String(what))
                    .arg(i + 1)
                    .arg(f + 1)
                    .arg(table(int(i) + 1, int(f) + 1))
                    .arg(rows[i][f]);
    return {};
}

} // namespace

QString storeMismatch(const Store &s, const kvlsim::DeviceMemory &mem)
{
    const int leqRows = kvl::leqRows(mem.version);
    if (s.Leq_Count != leqRows)
        return QStringLiteral("Leq_Count %1").arg(s.Leq_Count);
    QString diff = rowsMismatch("Leq", s.Leq_Records, mem.leq);
    if (diff.isEmpty())
        diff = rowsMismatch("Event", s.Event_Records, mem.events);
    if (diff.isEmpty())
        diff = rowsMismatch("History", s.Param_History, mem.history);
    if (!diff.isEmpty())
        return diff;
    // The rows after the device's records are empty.
    for (int r = int(mem.leq.size()) + 1; r <= leqRows; ++r)
        if (s.Leq_Records(r, 6) != 255)
            return QStringLiteral("Leq row %1 not empty").arg(r);
    if (s.Event_Records(int(mem.events.size()) + 1, 7) != 255)
        return QStringLiteral("Event row after the last not empty");
    for (int i = 0; i < 2560; ++i)
        if (s.Param_Block[i] != mem.paramBlock[std::size_t(i)])
            return QStringLiteral("Param_Block[%1]").arg(i);
    for (std::size_t i = 0; i < mem.paramRaw.size(); ++i)
        if (s.Param_Raw[int(i)] != mem.paramRaw[i])
            return QStringLiteral("Param_Raw[%1]").arg(i);
    return {};
}

} // namespace kvl::test
