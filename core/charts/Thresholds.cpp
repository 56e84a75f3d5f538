#include "charts/Thresholds.h"

#include "store/Layout.h"
#include "store/Names.h"
#include "store/RecordDate.h"

#include <QDate>

#include <algorithm>
#include <limits>
#include <optional>
#include <vector>

// How the schedule is built where the device's records leave a choice:
//
// - Time is counted in whole minutes from a fixed epoch, so "at the start",
//   "inside" and "equal" are exact; records carry minutes, nothing finer.
// - The chart period is [start day 12:00, start day + n days 12:00). A door
//   event or parameter record stamped exactly at the start is in force at
//   the start; one stamped exactly at the end changes nothing on the chart.
// - Door state at the start: the last door event at or before the start,
//   however long ago. It holds for the whole period when no door event lies
//   inside it. No door event at or before the start: "No threshold Limit,
//   fault data open!!!" (door events after the end cannot tell the state).
// - Parameters at the start (Premier_Parametre): the last valid history
//   record at or before the start, not the first one inside the period, so
//   a change early in the period is drawn and breaks Parametres_Constants.
//   Dernier_Parametre: the last valid record before the end (Premier when
//   none lies inside). An empty history uses Param_Block all along.
// - A history record is valid when its date and time are a real date in
//   2000-2099; a door event also needs year 1-99, as the device writes.
//   Both lists are taken in time order (stable on equal stamps), whatever
//   order the tables are in.
// - Day/night switches are whole hours: at hour H:00 there is a switch row
//   when H is the day-to-night or night-to-day hour of the parameters in
//   force at that instant. So on a day when the parameters change, the
//   hours of the record in force at each moment place the switches, and a
//   change that moves the current hour into the night is drawn at the
//   instant of the change.
// - The dialog's values (firmware 3.5/4.0) and the fall-back from
//   Param_Block take the same walk, door closed, rather than a fixed row on
//   chart day k and one on day k + 1: a night of 01 to 08 then switches on
//   the next morning, not before the chart starts, and a switching hour of
//   12 falls on the period's ends and gives no row.
// - Night runs from the day-to-night hour up to, not including, the
//   night-to-day hour, across midnight when needed; equal hours: no night.
// - Every instant carries at most one row: changes at the same minute
//   (door, parameters, switch, or two of a kind) are applied in time-then-
//   table order, and the row holds the threshold just before the minute and
//   just after all of them. Rows are strictly chronological.
// - Rows where nothing moves (before = after) are kept at every event, so
//   the staircase shows where the device logged something.
// - A threshold is usable from 0 to MaxThresholdDb and an hour from 0 to 23;
//   parameters in force during the period that are not usable (empty 255
//   fields): "Parameters uncertain!!!". Unusable dialog values or
//   Param_Block, and any other inconsistency (no valid period), end quietly
//   without a schedule: Seuils_Prets stays cleared.
// - A period in which nothing switches (equal hours of 12) gets one row at
//   the start, before = after, so the staircase is still drawn.

namespace kvl {

namespace {

using Minutes = qint64;
constexpr Minutes MinutesPerDay = 24 * 60;
constexpr int NoonMinutes = 12 * 60;

// Minutes since the epoch of a row's stamp; nothing when it is no real date
// and time.
template <typename Table> std::optional<Minutes> rowStamp(const Table &table, int row)
{
    if (row < 1 || row > Table::rowCount)
        return std::nullopt;
    const qint16 *r = table.row(row);
    const QDate date = recordDate(r);
    if (!date.isValid())
        return std::nullopt;
    return date.toJulianDay() * MinutesPerDay + fieldOf(r, field::Hour) * 60 + fieldOf(r, field::Minute);
}

// Thresholds and switching hours of one parameter set.
struct Levels
{
    int day = 0, dayOpen = 0, night = 0, nightOpen = 0;
    int hourDayNight = 0, hourNightDay = 0;

    bool usable() const
    {
        for (int level : {day, dayOpen, night, nightOpen})
            if (level < 0 || level > MaxThresholdDb)
                return false;
        return hourDayNight >= 0 && hourDayNight <= 23 && hourNightDay >= 0 && hourNightDay <= 23;
    }
    bool isNight(int hour) const
    {
        if (hourDayNight == hourNightDay)
            return false;
        if (hourDayNight < hourNightDay)
            return hour >= hourDayNight && hour < hourNightDay;
        return hour >= hourDayNight || hour < hourNightDay;
    }
    // Threshold in force during the minute starting at t.
    int at(Minutes t, bool doorOpen) const
    {
        const int hour = int(t % MinutesPerDay) / 60;
        if (isNight(hour))
            return doorOpen ? nightOpen : night;
        return doorOpen ? dayOpen : day;
    }
    bool switchesAt(Minutes t) const
    {
        if (t % 60 != 0)
            return false;
        const int hour = int(t % MinutesPerDay) / 60;
        return hour == hourDayNight || hour == hourNightDay;
    }
};

Levels blockLevels(const ParamBlockTable &b)
{
    return {blockLevel(b, block::LeqDay),   blockLevel(b, block::LeqDayOpen),
            blockLevel(b, block::LeqNight), blockLevel(b, block::LeqNightOpen),
            b[block::HourDayNight],         b[block::HourNightDay]};
}

Levels historyLevels(const HistoryTable &h, int row)
{
    return {recordLevel(h, row, history::LeqDay),   recordLevel(h, row, history::LeqDayOpen),
            recordLevel(h, row, history::LeqNight), recordLevel(h, row, history::LeqNightOpen),
            h(row, history::HourDayNight),          h(row, history::HourNightDay)};
}

// The chart period; nothing when the stored start date is no date of the
// device's century or the length is no chart length.
struct Period
{
    Minutes start = 0, end = 0;
};

std::optional<Period> chartPeriod(const Store &store, int days)
{
    if (days < 1 || days > 7)
        return std::nullopt;
    const QDate first = periodStart(store);
    if (!first.isValid() || first.year() < 2000 || first.addDays(days).year() > 2099)
        return std::nullopt;
    const Minutes start = first.toJulianDay() * MinutesPerDay + NoonMinutes;
    return Period{start, start + days * MinutesPerDay};
}

// Something the device logged during the period.
struct Change
{
    Minutes at = 0;
    std::optional<Levels> levels; // new parameters
    std::optional<bool> doorOpen; // new door state
};

void clearSchedule(Store &store)
{
    store.Tab_Seuils.assign(1, {}); // row 0 stays unused
    store.Seuils_Prets = false;
}

void appendRow(Store &store, Minutes t, int before, int after)
{
    const QDate date = QDate::fromJulianDay(t / MinutesPerDay);
    const int minuteOfDay = int(t % MinutesPerDay);
    std::array<qint16, 8> row{};
    row[seuil::Day] = qint16(date.day());
    row[seuil::Month] = qint16(date.month());
    row[seuil::Year] = qint16(date.year() - 2000);
    row[seuil::Hour] = qint16(minuteOfDay / 60);
    row[seuil::Minute] = qint16(minuteOfDay % 60);
    row[seuil::Before] = qint16(before);
    row[seuil::After] = qint16(after);
    store.Tab_Seuils.push_back(row);
}

// Walks the period minute by minute where something may happen (whole
// hours and the logged changes, sorted) and writes Tab_Seuils.
bool buildSchedule(Store &store, const Period &period, Levels levels, bool doorOpen,
                   const std::vector<Change> &changes)
{
    clearSchedule(store);
    if (!levels.usable())
        return false;
    for (const Change &c : changes)
        if (c.levels && !c.levels->usable())
            return false;
    const int startThreshold = levels.at(period.start, doorOpen);
    auto next = changes.begin();
    // First whole hour after the start (the start itself is a whole hour).
    Minutes hour = period.start + 60;
    while (true) {
        Minutes t = hour;
        if (next != changes.end() && next->at < t)
            t = next->at;
        if (t >= period.end)
            break;
        const int before = levels.at(t - 1, doorOpen);
        bool logged = false;
        for (; next != changes.end() && next->at == t; ++next) {
            logged = true;
            if (next->levels)
                levels = *next->levels;
            if (next->doorOpen)
                doorOpen = *next->doorOpen;
        }
        if (logged || levels.switchesAt(t))
            appendRow(store, t, before, levels.at(t, doorOpen));
        if (t == hour)
            hour += 60;
    }
    if (store.Tab_Seuils.size() == 1)
        appendRow(store, period.start, startThreshold, startThreshold);
    store.Seuils_Prets = true;
    return true;
}

// The day/night schedule of one parameter set, door closed all along (so
// the door-open values play no part).
bool buildFixedSchedule(Store &store, int days, Levels levels)
{
    levels.dayOpen = levels.day;
    levels.nightOpen = levels.night;
    const auto period = chartPeriod(store, days);
    if (!period) {
        clearSchedule(store);
        return false;
    }
    return buildSchedule(store, *period, levels, false, {});
}

struct Dated
{
    Minutes at;
    int row;
};

// Door events of the journal in time order: row and whether it opened.
std::vector<std::pair<Dated, bool>> doorEvents(const EventTable &events)
{
    constexpr int DoorOpened = 32;
    constexpr int DoorClosed = 64;
    std::vector<std::pair<Dated, bool>> doors;
    for (int row = 1; row <= EventTable::rowCount; ++row) {
        const int codeB = events(row, field::CodeB);
        if (events(row, field::CodeA) != 0 || (codeB != DoorOpened && codeB != DoorClosed))
            continue;
        if (events(row, field::Year) < 1)
            continue;
        if (const auto at = rowStamp(events, row))
            doors.push_back({{*at, row}, codeB == DoorOpened});
    }
    std::stable_sort(doors.begin(), doors.end(),
                     [](const auto &a, const auto &b) { return a.first.at < b.first.at; });
    return doors;
}

// Valid parameter records in time order.
std::vector<Dated> historyRecords(const HistoryTable &history)
{
    std::vector<Dated> records;
    for (int row = 1; row <= HistoryTable::rowCount; ++row) {
        if (const auto at = rowStamp(history, row))
            records.push_back({*at, row});
    }
    std::stable_sort(records.begin(), records.end(),
                     [](const Dated &a, const Dated &b) { return a.at < b.at; });
    return records;
}

bool sameParameters(const HistoryTable &history, int a, int b)
{
    for (int f = history::LeqDay; f <= history::LeqNightOpen + 1; ++f)
        if (history(a, f) != history(b, f))
            return false;
    return history(a, history::HourDayNight) == history(b, history::HourDayNight) &&
           history(a, history::HourNightDay) == history(b, history::HourNightDay);
}

void analyseV5(Store &store, int days, const ScheduleMessage &message)
{
    store.Parametres_Constants = false;
    store.Premier_Parametre = 0;
    store.Dernier_Parametre = 0;
    clearSchedule(store);
    auto say = [&](const char *text) {
        if (message)
            message(QString::fromUtf8(text));
    };

    const auto doors = doorEvents(store.Event_Records);
    if (doors.empty()) {
        say("No treshold limit open");
        return;
    }
    const auto period = chartPeriod(store, days);
    if (!period)
        return;
    // Door state at the start: the last event at or before it.
    auto doorsAfterStart =
        std::find_if(doors.begin(), doors.end(), [&](const auto &d) { return d.first.at > period->start; });
    if (doorsAfterStart == doors.begin()) {
        say("No threshold Limit, fault data open!!!");
        return;
    }
    const bool doorOpen = std::prev(doorsAfterStart)->second;

    // Parameters at the start and the records that follow inside the period.
    const auto records = historyRecords(store.Param_History);
    auto recordsAfterStart =
        std::find_if(records.begin(), records.end(), [&](const Dated &r) { return r.at > period->start; });
    Levels levels = blockLevels(store.Param_Block);
    std::vector<Dated> chain; // record at the start, then those inside
    if (!records.empty()) {
        if (recordsAfterStart == records.begin()) {
            say("Fault Data Change of Parameter!!!");
            return;
        }
        for (auto it = std::prev(recordsAfterStart); it != records.end() && it->at < period->end; ++it)
            chain.push_back(*it);
        store.Premier_Parametre = chain.front().row;
        store.Dernier_Parametre = chain.back().row;
        levels = historyLevels(store.Param_History, chain.front().row);
    }

    std::vector<Change> changes;
    for (std::size_t i = 1; i < chain.size(); ++i)
        changes.push_back({chain[i].at, historyLevels(store.Param_History, chain[i].row), std::nullopt});
    for (auto it = doorsAfterStart; it != doors.end() && it->first.at < period->end; ++it)
        changes.push_back({it->first.at, std::nullopt, it->second});
    // Time order; at equal times, parameters before doors, each in table order.
    std::stable_sort(changes.begin(), changes.end(),
                     [](const Change &a, const Change &b) { return a.at < b.at; });

    if (!buildSchedule(store, *period, levels, doorOpen, changes)) {
        say("Parameters uncertain!!!");
        return;
    }
    store.Parametres_Constants = true;
    for (std::size_t i = 1; i < chain.size(); ++i)
        if (!sameParameters(store.Param_History, chain[i - 1].row, chain[i].row))
            store.Parametres_Constants = false;
}

} // namespace

void Analyse_Seuils(Store &store, int days, const ScheduleMessage &message)
{
    switch (store.Device_Version) {
    case Version35:
    case Version40:
        buildFixedSchedule(
            store, days,
            {store.Seuil_Jour, 0, store.Seuil_Nuit, 0, store.Heure_Jour_Nuit, store.Heure_Nuit_Jour});
        return;
    case Version5X:
    case VersionKvl36:
        analyseV5(store, days, message);
        if (!store.Seuils_Prets)
            buildFixedSchedule(store, days, blockLevels(store.Param_Block));
        return;
    default:
        clearSchedule(store);
        return;
    }
}

void Analyse_Seuils_1J(Store &store, const ScheduleMessage &message)
{
    Analyse_Seuils(store, 1, message);
}

void Analyse_Seuils_3J(Store &store, const ScheduleMessage &message)
{
    Analyse_Seuils(store, 3, message);
}

void Analyse_Seuils_7J(Store &store, const ScheduleMessage &message)
{
    Analyse_Seuils(store, 7, message);
}

struct FileThresholds::Data
{
    bool history = false; // firmware 5.X, "KVL 36": records and doors decide
    Levels current;       // Param_Block, door-open values included
    Levels fallback;      // Param_Block, door closed
    std::vector<Minutes> recordAt;
    std::vector<Levels> recordLevels;
    std::vector<Minutes> doorAt;
    std::vector<bool> doorOpen;
    // Every stretch of time that takes the current parameters for want of
    // records, in order; the first may start at the earliest minute.
    std::vector<FileThresholds::Gap> gaps;
};

FileThresholds::FileThresholds(const Store &store)
{
    auto d = std::make_shared<Data>();
    d->current = blockLevels(store.Param_Block);
    d->fallback = d->current;
    d->fallback.dayOpen = d->fallback.day;
    d->fallback.nightOpen = d->fallback.night;
    d->history = isVersion5Family(store.Device_Version);
    if (d->history) {
        for (const Dated &r : historyRecords(store.Param_History)) {
            d->recordAt.push_back(r.at);
            d->recordLevels.push_back(historyLevels(store.Param_History, r.row));
        }
        for (const auto &door : doorEvents(store.Event_Records)) {
            d->doorAt.push_back(door.first.at);
            d->doorOpen.push_back(door.second);
        }
    } else {
        d->current = d->fallback;
    }
    m_data = std::move(d);
    findGaps();
}

namespace {

// Index of the last time at or before t, -1 when none.
int lastAtOrBefore(const std::vector<Minutes> &times, Minutes t)
{
    return int(std::upper_bound(times.begin(), times.end(), t) - times.begin()) - 1;
}

} // namespace

InForce FileThresholds::at(qint64 t) const
{
    const Data &d = *m_data;
    InForce f;
    // Nothing changes inside a whole hour but at a record or a door event.
    f.from = t - t % 60;
    f.until = f.from + 60;
    auto bound = [&](const std::vector<Minutes> &times, int last) {
        if (last >= 0)
            f.from = std::max(f.from, times[std::size_t(last)]);
        if (last + 1 < int(times.size()))
            f.until = std::min(f.until, times[std::size_t(last) + 1]);
    };
    const Levels *levels = &d.current;
    bool open = false;
    if (d.history) {
        const int r = lastAtOrBefore(d.recordAt, t);
        const int door = lastAtOrBefore(d.doorAt, t);
        bound(d.recordAt, r);
        bound(d.doorAt, door);
        if (!d.recordAt.empty()) {
            if (r < 0)
                f.gap = ScheduleGap::NoParameterRecord;
            else if (!d.recordLevels[std::size_t(r)].usable())
                f.gap = ScheduleGap::UnusableRecord;
            else
                levels = &d.recordLevels[std::size_t(r)];
        }
        if (door >= 0)
            f.doorOpen = d.doorOpen[std::size_t(door)];
        if (door < 0 && f.gap == ScheduleGap::None)
            f.gap = ScheduleGap::NoDoorEvent;
        open = f.doorOpen;
        if (f.gap != ScheduleGap::None) {
            levels = &d.fallback;
            open = false;
        }
    }
    const Levels &l = *levels;
    if (l.usable())
        f.threshold = l.at(t, open);
    const Minutes day0 = t - t % MinutesPerDay;
    const bool hours =
        l.hourDayNight >= 0 && l.hourDayNight <= 23 && l.hourNightDay >= 0 && l.hourNightDay <= 23;
    if (!hours || l.hourDayNight == l.hourNightDay) {
        f.partStart = day0;
        f.partEnd = day0 + MinutesPerDay;
        return f;
    }
    f.night = l.isNight(int(t % MinutesPerDay) / 60);
    const int startHour = f.night ? l.hourDayNight : l.hourNightDay;
    const int endHour = f.night ? l.hourNightDay : l.hourDayNight;
    f.partStart = day0 + startHour * 60;
    if (f.partStart > t)
        f.partStart -= MinutesPerDay;
    f.partEnd = day0 + endHour * 60;
    if (f.partEnd <= t)
        f.partEnd += MinutesPerDay;
    return f;
}

void FileThresholds::findGaps()
{
    auto d = std::const_pointer_cast<Data>(m_data);
    if (!d->history)
        return;
    // Only a record or a door event changes whether the records decide: walk
    // both in time order, keeping the record in force and whether a door
    // event came yet.
    const std::size_t records = d->recordAt.size(), doors = d->doorAt.size();
    std::size_t r = 0, door = 0;
    Minutes from = std::numeric_limits<Minutes>::min();
    for (;;) {
        ScheduleGap why = ScheduleGap::None;
        if (records > 0 && r == 0)
            why = ScheduleGap::NoParameterRecord;
        else if (records > 0 && !d->recordLevels[r - 1].usable())
            why = ScheduleGap::UnusableRecord;
        else if (door == 0)
            why = ScheduleGap::NoDoorEvent;
        const bool more = r < records || door < doors;
        const Minutes next = !more           ? std::numeric_limits<Minutes>::max()
                             : door == doors ? d->recordAt[r]
                             : r == records  ? d->doorAt[door]
                                             : std::min(d->recordAt[r], d->doorAt[door]);
        if (why != ScheduleGap::None && next > from) {
            if (!d->gaps.empty() && d->gaps.back().to == from && d->gaps.back().why == why)
                d->gaps.back().to = next;
            else
                d->gaps.push_back({from, next, why});
        }
        if (!more)
            return;
        while (r < records && d->recordAt[r] == next)
            ++r;
        while (door < doors && d->doorAt[door] == next)
            ++door;
        from = next;
    }
}

std::vector<FileThresholds::Gap> FileThresholds::gaps(qint64 from, qint64 to) const
{
    const auto &all = m_data->gaps;
    auto it =
        std::upper_bound(all.begin(), all.end(), from, [](Minutes t, const Gap &g) { return t < g.to; });
    std::vector<Gap> out;
    for (; it != all.end() && it->from < to; ++it)
        out.push_back({std::max(it->from, from), std::min(it->to, to), it->why});
    return out;
}

} // namespace kvl
