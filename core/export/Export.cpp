#include "export/Export.h"

#include "export/Csv.h"
#include "store/Layout.h"
#include "store/Names.h"
#include "store/RecordDate.h"

#include <QJsonObject>

#include <cstdio>

namespace kvl {

namespace {

QStringList header(bool file, const QStringList &columns)
{
    return file ? QStringList{QStringLiteral("file")} + columns : columns;
}

} // namespace

Minute minuteOf(const QDate &date, int hour, int minute)
{
    return date.toJulianDay() * MinutesPerDay + hour * 60 + minute;
}

QDate dateOf(Minute m)
{
    return QDate::fromJulianDay(m / MinutesPerDay);
}

QString isoText(Minute m)
{
    const QDate d = dateOf(m);
    const int inDay = int(m % MinutesPerDay);
    if (d.year() < 0 || d.year() > 9999)
        return QString::asprintf("%04d-%02d-%02dT%02d:%02d:00", d.year(), d.month(), d.day(), inDay / 60,
                                 inDay % 60);
    // Written by hand: reports write two of these on every row.
    char text[] = "0000-00-00T00:00:00";
    auto put = [&text](int at, int value, int digits) {
        for (int i = digits - 1; i >= 0; --i, value /= 10)
            text[at + i] = char('0' + value % 10);
    };
    put(0, d.year(), 4);
    put(5, d.month(), 2);
    put(8, d.day(), 2);
    put(11, inDay / 60, 2);
    put(14, inDay % 60, 2);
    return QString::fromLatin1(text, 19);
}

bool rowMinute(const qint16 *row, Minute *out)
{
    const QDate date = recordDate(row);
    if (!date.isValid())
        return false;
    *out = minuteOf(date, fieldOf(row, field::Hour), fieldOf(row, field::Minute));
    return true;
}

QString seriesName(LeqSeries series)
{
    switch (series) {
    case LeqSeries::Leq10:
        return QStringLiteral("Leq10");
    case LeqSeries::Leq1:
        return QStringLiteral("Leq1");
    default:
        return QStringLiteral("Leq");
    }
}

namespace {

// Interval of a level stamped `stamp`; `previous` is the stamp of the row
// before it in its own table (-1 when none).
LeqInterval intervalOf(LeqSeries series, Minute stamp, Minute previous, int level)
{
    LeqInterval i;
    i.series = series;
    i.end = stamp;
    i.level = level;
    const int length = seriesMinutes(series);
    if (series == LeqSeries::Leq1) {
        i.start = stamp - length;
    } else {
        // The previous full stamp, not only its hour and minute: across
        // midnight the interval starts on the day before.
        const Minute age = previous < 0 ? -1 : stamp - previous;
        i.start = (age > 0 && age <= length) ? previous : stamp - length;
    }
    return i;
}

} // namespace

QList<LeqInterval> leqIntervals(const LeqTable &table, int first, int last, LeqSeries series)
{
    QList<LeqInterval> out;
    const PeriodRows rows = rowsWithin(first, last, LeqTable::rowCount);
    if (rows.isEmpty())
        return out;
    first = rows.first;
    last = rows.last;
    Minute previous = -1;
    if (first > 1 && !rowMinute(table.row(first - 1), &previous))
        previous = -1;
    for (int r = first; r <= last; ++r) {
        const qint16 *row = table.row(r);
        Minute stamp;
        if (!rowMinute(row, &stamp)) {
            previous = -1;
            continue;
        }
        out.append(intervalOf(series, stamp, previous, leqLevel(row)));
        previous = stamp;
    }
    return out;
}

QList<LeqInterval> listIntervals(const Store &store, LeqSeries series)
{
    switch (series) {
    case LeqSeries::Leq10:
        return leqIntervals(store.Leq10_Records, 1, store.Leq10_Count - 1, series);
    case LeqSeries::Leq1:
        return leqIntervals(store.Leq1_Records, 1, store.Leq1_Count - 1, series);
    default:
        return leqIntervals(store.Leq_Records, store.Period_First, store.Period_Last, series);
    }
}

QList<LeqInterval> storeIntervals(const Store &store, const DateRange &range)
{
    QList<LeqInterval> out;
    const bool split = store.isVersion5Family();
    Minute previous10 = -1, previousLeq = -1;
    const int rows = store.leqRowsForVersion();
    for (int r = 1; r <= rows; ++r) {
        const qint16 *row = store.Leq_Records.row(r);
        Minute stamp;
        if (!rowMinute(row, &stamp))
            continue;
        LeqInterval i;
        if (!split) {
            i = intervalOf(LeqSeries::Leq, stamp, previousLeq, leqLevel(row));
            previousLeq = stamp;
        } else if (row[field::Kind - 1] == KindLeq10) {
            i = intervalOf(LeqSeries::Leq10, stamp, previous10, leqLevel(row));
            previous10 = stamp;
        } else if (row[field::Kind - 1] == KindLeq1) {
            i = intervalOf(LeqSeries::Leq1, stamp, -1, leqLevel(row));
        } else {
            continue;
        }
        if (range.containsMinute(i.lastMinute()))
            out.append(i);
    }
    return out;
}

QList<EventEntry> eventEntries(const EventTable &table, int first, int last, int version, EventList list)
{
    QList<EventEntry> out;
    const PeriodRows rows = rowsWithin(first, last, EventTable::rowCount);
    if (rows.isEmpty())
        return out;
    first = rows.first;
    last = rows.last;
    for (int r = first; r <= last; ++r) {
        const qint16 *row = table.row(r);
        const int a = row[field::CodeA - 1], b = row[field::CodeB - 1];
        EventEntry e;
        if (!isEvent(a, b) || !rowMinute(row, &e.time))
            continue;
        e.codeA = a;
        e.codeB = b;
        e.label = eventLabel(a, b, version, list).trimmed();
        out.append(e);
    }
    return out;
}

QList<EventEntry> storeEvents(const Store &store, const DateRange &range)
{
    QList<EventEntry> all =
        eventEntries(store.Event_Records, 1, EventTable::rowCount, store.Device_Version, EventList::Table);
    QList<EventEntry> out;
    for (const EventEntry &e : all)
        if (range.containsMinute(e.time))
            out.append(e);
    return out;
}

QList<ParamEntry> storeParams(const Store &store, const DateRange &range)
{
    QList<ParamEntry> out;
    if (store.isVersion5Family()) {
        ParamEntry inForce;
        bool haveInForce = false;
        for (int r = 1; r <= HistoryTable::rowCount; ++r) {
            ParamEntry p;
            if (!rowMinute(store.Param_History.row(r), &p.time))
                continue;
            p.record = QStringLiteral("history");
            p.dated = true;
            p.values = valuesFromRecord(store.Param_History, r);
            const QDate d = dateOf(p.time);
            if (!range.from.isNull() && d < range.from) {
                inForce = p;
                haveInForce = true;
            } else if (range.contains(d)) {
                if (haveInForce) {
                    out.append(inForce);
                    haveInForce = false;
                }
                out.append(p);
            }
        }
        if (haveInForce)
            out.append(inForce);
    }
    ParamEntry current;
    current.record = QStringLiteral("current");
    current.values = valuesFromBlock(store.Param_Block);
    const QDateTime stamp = transferStamp(store);
    if (stamp.isValid()) {
        current.dated = true;
        current.time = minuteOf(stamp.date(), stamp.time().hour(), stamp.time().minute());
    }
    out.append(current);
    return out;
}

QStringList leqHeader(bool file)
{
    return header(file, {QStringLiteral("series"), QStringLiteral("start"), QStringLiteral("end"),
                         QStringLiteral("level_db")});
}

QStringList leqFields(const LeqInterval &i)
{
    return {seriesName(i.series), isoText(i.start), isoText(i.end), QString::number(i.level)};
}

QStringList eventHeader(bool file)
{
    return header(file, {QStringLiteral("time"), QStringLiteral("code_a"), QStringLiteral("code_b"),
                         QStringLiteral("label")});
}

QStringList eventFields(const EventEntry &e)
{
    return {isoText(e.time), QString::number(e.codeA), QString::number(e.codeB), e.label};
}

namespace {

const char *const BandColumns[7] = {"band_63hz", "band_125hz", "band_250hz", "band_500hz",
                                    "band_1khz", "band_2khz",  "band_4khz"};
const char *const LevelColumns[7] = {"leq_day_db",        "leq_day_open_db",    "leq_night_db",
                                     "leq_night_open_db", "line_regulation_db", "public_level_db",
                                     "sensor_level_db"};

QString withoutPoint(QString text)
{
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text;
}

// Column names and values of a parameter record, in one place so that CSV
// and JSON agree.
QList<std::pair<QString, QString>> paramColumns(const ParamEntry &p)
{
    const ParamValues &v = p.values;
    const Measurement m = v.measurement();
    QList<std::pair<QString, QString>> c;
    c.append({QStringLiteral("record"), p.record});
    c.append({QStringLiteral("time"), p.dated ? isoText(p.time) : QString()});
    c.append({QStringLiteral("analysis"), withoutPoint(weightingWord(m.analysis))});
    c.append({QStringLiteral("filter_card"), m.filterCard ? QStringLiteral("yes") : QStringLiteral("no")});
    c.append({QStringLiteral("source"),
              m.source == InputSource::Line ? QStringLiteral("Line") : QStringLiteral("Sensor")});
    c.append({QStringLiteral("source_weighting"), withoutPoint(weightingWord(m.sourceWeighting))});
    c.append({QStringLiteral("attack"), withoutPoint(attackText(v.attack))});
    c.append({QStringLiteral("release"), withoutPoint(releaseText(v.release))});
    c.append({QStringLiteral("output_reduction_db"),
              QString::number(v.reduction) + (v.halfStep == 50 ? QStringLiteral(".5") : QString())});
    for (int j = 0; j < 7; ++j)
        c.append({QString::fromLatin1(BandColumns[j]), QString::number(v.bands[j])});
    for (int k = 0; k < 7; ++k)
        c.append(
            {QString::fromLatin1(LevelColumns[k]), QString::number(levelOf(v.levels[k][0], v.levels[k][1]))});
    c.append({QStringLiteral("hour_day_to_night"), QString::number(v.hourDayNight)});
    c.append({QStringLiteral("hour_night_to_day"), QString::number(v.hourNightDay)});
    return c;
}

} // namespace

QStringList paramHeader(bool file)
{
    QStringList names;
    for (const auto &c : paramColumns(ParamEntry()))
        names << c.first;
    return header(file, names);
}

QStringList paramFields(const ParamEntry &p)
{
    QStringList values;
    for (const auto &c : paramColumns(p))
        values << c.second;
    return values;
}

QByteArray leqCsv(const QList<LeqInterval> &rows)
{
    CsvWriter w;
    w.addRow(leqHeader(false));
    for (const LeqInterval &i : rows)
        w.addRow(leqFields(i));
    return w.bytes();
}

QByteArray eventCsv(const QList<EventEntry> &rows)
{
    CsvWriter w;
    w.addRow(eventHeader(false));
    for (const EventEntry &e : rows)
        w.addRow(eventFields(e));
    return w.bytes();
}

QByteArray paramCsv(const QList<ParamEntry> &rows)
{
    CsvWriter w;
    w.addRow(paramHeader(false));
    for (const ParamEntry &p : rows)
        w.addRow(paramFields(p));
    return w.bytes();
}

QJsonArray leqJson(const QList<LeqInterval> &rows)
{
    QJsonArray out;
    for (const LeqInterval &i : rows)
        out.append(QJsonObject{{QStringLiteral("series"), seriesName(i.series)},
                               {QStringLiteral("start"), isoText(i.start)},
                               {QStringLiteral("end"), isoText(i.end)},
                               {QStringLiteral("level_db"), i.level}});
    return out;
}

QJsonArray eventJson(const QList<EventEntry> &rows)
{
    QJsonArray out;
    for (const EventEntry &e : rows)
        out.append(QJsonObject{{QStringLiteral("time"), isoText(e.time)},
                               {QStringLiteral("code_a"), e.codeA},
                               {QStringLiteral("code_b"), e.codeB},
                               {QStringLiteral("label"), e.label}});
    return out;
}

QJsonArray paramJson(const QList<ParamEntry> &rows)
{
    QJsonArray out;
    for (const ParamEntry &p : rows) {
        QJsonObject o;
        for (const auto &c : paramColumns(p)) {
            bool number = false;
            const double n = c.second.toDouble(&number);
            if (c.first == QLatin1String("time") && !p.dated)
                o.insert(c.first, QJsonValue::Null);
            else
                o.insert(c.first, number ? QJsonValue(n) : QJsonValue(c.second));
        }
        out.append(o);
    }
    return out;
}

QString firmwareName(const Store &store)
{
    const QString model =
        store.Device_Version == VersionKvl36 ? QStringLiteral("KVL 36") : QStringLiteral("KVL 24-2");
    QString firmware = firmwareVersionText(store);
    firmware.remove(QStringLiteral("Version "));
    return model + QStringLiteral(" firmware ") + firmware;
}

} // namespace kvl
