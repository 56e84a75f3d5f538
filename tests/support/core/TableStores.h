#pragma once

// Builds measurement stores for the table tests from short record texts.

#include "TestCore.h"
#include "store/Layout.h"
#include "store/Store.h"

#include <QDate>
#include <QFile>
#include <QRegularExpression>
#include <QStringList>
#include <QVariant>
#include <algorithm>

namespace kvl::test {

// Rows from "dd/mm/yy hh:mm v1 [v2]": Leq "level [kind]", events "A B"; the rest empty (255).
template <typename Table> void fillRows(Table &table, const QStringList &records, bool leq)
{
    static const QRegularExpression sep(QStringLiteral("[ /:]"));
    table.fill(255);
    int r = 1;
    for (const QString &rec : records) {
        const QStringList p = rec.split(sep);
        qint16 *row = table.row(r++);
        row[0] = qint16(p[4].toInt());
        row[1] = qint16(p[3].toInt());
        row[2] = qint16(p[0].toInt());
        row[4] = qint16(p[1].toInt());
        row[5] = qint16(p[2].toInt());
        const int v1 = p[5].toInt(), v2 = p.value(6).toInt();
        row[3] = qint16(leq ? v2 : 0);
        row[6] = qint16(leq ? v1 % 100 : v1);
        row[7] = qint16(leq ? v1 / 100 : v2);
    }
}
inline void fillLeq(LeqTable &table, const QStringList &records)
{
    fillRows(table, records, true);
}
inline void fillEvents(EventTable &table, const QStringList &records)
{
    fillRows(table, records, false);
}

// "day dayOpen night nightOpen dayToNight nightToDay" into level pairs and hours, put(index, value).
template <typename Put> void putLevels(const QStringList &v, const int (&at)[6], Put put)
{
    for (int i = 0; i < 4; ++i) {
        put(at[i], v[i].toInt() / 100);
        put(at[i] + 1, v[i].toInt() % 100);
    }
    put(at[4], v[4].toInt());
    put(at[5], v[5].toInt());
}

// The device's thresholds and hours, "day dayOpen night nightOpen dayToNight nightToDay".
inline void setBlockLevels(Store &store, const QString &levels)
{
    static const int at[6] = {block::LeqDay,       block::LeqDayOpen,   block::LeqNight,
                              block::LeqNightOpen, block::HourDayNight, block::HourNightDay};
    putLevels(levels.split(QLatin1Char(' ')), at, [&](int e, int v) { store.Param_Block[e] = qint16(v); });
}

// History records "dd/mm/yy hh:mm day dayOpen night nightOpen dayToNight nightToDay"; the rest empty (255).
inline void fillHistory(HistoryTable &table, const QStringList &records)
{
    static const QRegularExpression sep(QStringLiteral("[ /:]"));
    static const int at[6] = {history::LeqDay,       history::LeqDayOpen,   history::LeqNight,
                              history::LeqNightOpen, history::HourDayNight, history::HourNightDay};
    static const int stamp[5] = {field::Day, field::Month, field::Year, field::Hour, field::Minute};
    table.fill(255);
    for (int row = 1; row <= records.size(); ++row) {
        const QStringList p = records[row - 1].split(sep);
        for (int i = 0; i < 5; ++i)
            table(row, stamp[i]) = qint16(p[i].toInt());
        putLevels(p.mid(5), at, [&](int f, int x) { table(row, f) = qint16(x); });
    }
}

// "dd/mm/yyyy" texts as the period dialog stores them.
inline void setPeriod(Store &store, const QString &start, const QString &end)
{
    const QStringList parts = start.split(QLatin1Char('/')) + end.split(QLatin1Char('/'));
    QString *fields[6] = {&store.Start_Day, &store.Start_Month, &store.Start_Year,
                          &store.End_Day,   &store.End_Month,   &store.End_Year};
    for (int i = 0; i < 6; ++i)
        *fields[i] = parts.value(i);
}

// A deterministic busy store from a seed: evenings 18:00 to 02:30 for a week from
// 27 February 2008, loud 10-minute Leq records, Leq1 records from 5.X on, some events.
// The reference tables in tests/data/tables depend on this exact sequence.
inline void fillBusyStore(Store &store, int version, quint32 seed = 7)
{
    auto next = [&seed]() {
        seed = seed * 1103515245u + 12345u;
        return int((seed >> 16) & 0x7FFF);
    };
    store.Device_Version = qint16(version);
    store.Leq_Records.fill(255);
    store.Event_Records.fill(255);
    int leqRow = 1, eventRow = 1;
    for (int d = 0; d < 7; ++d) {
        for (int minute = 18 * 60; minute < 24 * 60 + 150; ++minute) {
            const QDate date = QDate(2008, 2, 27).addDays(d + minute / (24 * 60));
            const int m = minute % (24 * 60);
            auto put = [&](qint16 *row, int kind, int a, int b) {
                const int fields[8] = {m % 60, m / 60, date.day(), kind, date.month(), 8, a, b};
                std::copy(fields, fields + 8, row);
            };
            const bool loud = next() % 100 < 70;
            const bool leq1 = version >= 5 && next() % 100 < 4;
            if (m % 10 == 0 && loud) {
                const int level = 70 + next() % 40;
                put(store.Leq_Records.row(leqRow++), version >= 5 ? 10 : 0, level % 100, level / 100);
            }
            if (leq1) {
                const int level = 95 + next() % 15;
                put(store.Leq_Records.row(leqRow++), 1, level % 100, level / 100);
            }
            if (next() % 100 < 2) {
                const int code = next() % 17; // 16: both bytes set, no event
                put(store.Event_Records.row(eventRow++), 0, code < 8 ? 1 << code : (code == 16 ? 3 : 0),
                    code >= 8 && code < 16 ? 1 << (code - 8) : (code == 16 ? 4 : 0));
            }
        }
    }
    for (int i = block::SerialFirst; i <= block::SerialLast; ++i)
        store.Param_Block[i] = qint16(i - block::SerialFirst + 2);
    store.Param_Block[block::FirmwareMajor] = 140; // 1
    store.Param_Block[block::FirmwareMinor] = 204; // 3
}

// A store of `version` downloaded on 06/12/2026 at 14:05:33 whose dated parameter records are
// "day, month, year, hour, minute, day level", their other fields 0; the other rows empty (255).
inline void setParamRecords(Store &store, int version, const QList<QList<int>> &records)
{
    store.Device_Version = qint16(version);
    store.Transfer_Date = QStringLiteral("06/12/2026");
    store.Transfer_Time = QStringLiteral("14:05:33");
    HistoryTable &t = store.Param_History;
    t.fill(255);
    static const int stamp[5] = {field::Day, field::Month, field::Year, field::Hour, field::Minute};
    for (int row = 1; row <= records.size(); ++row) {
        const QList<int> &r = records[row - 1];
        for (int f = 1; f <= HistoryFields; ++f)
            t(row, f) = f == history::LeqDay       ? qint16(r[5] / 100)
                        : f == history::LeqDay + 1 ? qint16(r[5] % 100)
                                                   : 0;
        for (int i = 0; i < 5; ++i)
            t(row, stamp[i]) = qint16(r[i]);
    }
}

// One record a day from 1 January 2026 at noon, day level `level` + the day.
inline QList<QList<int>> januaryRecords(int days, int level)
{
    QList<QList<int>> out;
    for (int day = 1; day <= days; ++day)
        out.append({day, 1, 26, 12, 0, level + day});
    return out;
}

} // namespace kvl::test
