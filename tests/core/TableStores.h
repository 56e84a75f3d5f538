#pragma once

// Builds measurement stores for the table tests from short record texts.

#include "store/Store.h"

#include <QRegularExpression>
#include <QStringList>

namespace kvl::test {

// "dd/mm/yy hh:mm" -> fields 1, 2, 3, 5, 6 of a record row.
inline void setStamp(qint16 *row, const QString &stamp)
{
    static const QRegularExpression re(QStringLiteral("^(\\d+)/(\\d+)/(\\d+) (\\d+):(\\d+)$"));
    const auto m = re.match(stamp);
    Q_ASSERT_X(m.hasMatch(), "setStamp", qPrintable(stamp));
    row[2] = qint16(m.captured(1).toInt());
    row[4] = qint16(m.captured(2).toInt());
    row[5] = qint16(m.captured(3).toInt());
    row[1] = qint16(m.captured(4).toInt());
    row[0] = qint16(m.captured(5).toInt());
}

// Leq rows from "dd/mm/yy hh:mm level [kind]"; the rest of the table empty (255).
inline void fillLeq(LeqTable &table, const QStringList &records)
{
    table.fill(255);
    int r = 1;
    for (const QString &rec : records) {
        const QStringList parts = rec.split(QLatin1Char(' '));
        qint16 *row = table.row(r++);
        setStamp(row, parts[0] + QLatin1Char(' ') + parts[1]);
        const int level = parts[2].toInt();
        row[6] = qint16(level % 100);
        row[7] = qint16(level / 100);
        row[3] = qint16(parts.size() > 3 ? parts[3].toInt() : 0);
    }
}

// Event rows from "dd/mm/yy hh:mm A B"; the rest of the table empty (255).
inline void fillEvents(EventTable &table, const QStringList &records)
{
    table.fill(255);
    int r = 1;
    for (const QString &rec : records) {
        const QStringList parts = rec.split(QLatin1Char(' '));
        qint16 *row = table.row(r++);
        setStamp(row, parts[0] + QLatin1Char(' ') + parts[1]);
        row[3] = 0;
        row[6] = qint16(parts[2].toInt());
        row[7] = qint16(parts[3].toInt());
    }
}

inline void setPeriod(Store &store, const QString &start, const QString &end)
{
    const QStringList s = start.split(QLatin1Char('/'));
    const QStringList e = end.split(QLatin1Char('/'));
    store.Start_Day = s[0];
    store.Start_Month = s[1];
    store.Start_Year = s[2];
    store.End_Day = e[0];
    store.End_Month = e[1];
    store.End_Year = e[2];
}

// A deterministic busy store: a week of events and Leq records from a seed.
inline void fillBusyStore(Store &store, int version, quint32 seed = 7)
{
    auto next = [&seed]() {
        seed = seed * 1103515245u + 12345u;
        return int((seed >> 16) & 0x7FFF);
    };
    store.Device_Version = qint16(version);
    store.Leq_Records.fill(255);
    store.Event_Records.fill(255);
    // Leq records from 27 February 2008 for seven days: evenings are loud.
    int leqRow = 1;
    int eventRow = 1;
    const int monthDays[] = {31, 29, 31};
    int day = 27, month = 2;
    for (int d = 0; d < 7; ++d) {
        for (int minute = 18 * 60; minute < 24 * 60 + 150; minute += 1) {
            int dd = day, mm = month, m = minute;
            if (m >= 24 * 60) {
                m -= 24 * 60;
                if (++dd > monthDays[mm - 1]) {
                    dd = 1;
                    ++mm;
                }
            }
            const bool tenMinute = m % 10 == 0;
            const bool loud = next() % 100 < 70;
            const bool leq1 = version >= 5 && next() % 100 < 4;
            if (tenMinute && loud) {
                qint16 *row = store.Leq_Records.row(leqRow++);
                row[0] = qint16(m % 60);
                row[1] = qint16(m / 60);
                row[2] = qint16(dd);
                row[3] = qint16(version >= 5 ? 10 : 0);
                row[4] = qint16(mm);
                row[5] = 8;
                const int level = 70 + next() % 40;
                row[6] = qint16(level % 100);
                row[7] = qint16(level / 100);
            }
            if (leq1) {
                qint16 *row = store.Leq_Records.row(leqRow++);
                row[0] = qint16(m % 60);
                row[1] = qint16(m / 60);
                row[2] = qint16(dd);
                row[3] = 1;
                row[4] = qint16(mm);
                row[5] = 8;
                const int level = 95 + next() % 15;
                row[6] = qint16(level % 100);
                row[7] = qint16(level / 100);
            }
            if (next() % 100 < 2) {
                qint16 *row = store.Event_Records.row(eventRow++);
                row[0] = qint16(m % 60);
                row[1] = qint16(m / 60);
                row[2] = qint16(dd);
                row[3] = 0;
                row[4] = qint16(mm);
                row[5] = 8;
                const int code = next() % 17; // 16: both bytes set, no event
                row[6] = qint16(code < 8 ? 1 << code : (code == 16 ? 3 : 0));
                row[7] = qint16(code >= 8 && code < 16 ? 1 << (code - 8) : (code == 16 ? 4 : 0));
            }
        }
        if (++day > monthDays[month - 1]) {
            day = 1;
            ++month;
        }
    }
    for (int i = 2360; i <= 2367; ++i)
        store.Param_Block[i] = qint16(i - 2358);
    store.Param_Block[160] = 140; // 1
    store.Param_Block[161] = 204; // 3
}

} // namespace kvl::test
