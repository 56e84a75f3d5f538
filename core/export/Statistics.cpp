#include "export/Statistics.h"

#include "store/Layout.h"
#include "tables/Period.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace kvl {

namespace {

constexpr int DoorOpenedByteB = 32;
constexpr int DoorClosedByteB = 64;

bool validHour(int h)
{
    return h >= 0 && h <= 23;
}

bool chartDate(const Store &store, int row, QDate *date)
{
    if (row < 1 || row >= int(store.Chart_Dates.size()))
        return false;
    const auto &d = store.Chart_Dates[std::size_t(row)];
    *date = QDate(d[3].toInt(), d[2].toInt(), d[1].toInt());
    return date->isValid();
}

} // namespace

int exceededLevel(const std::vector<int> &highestFirst, int percent)
{
    if (highestFirst.empty())
        return 0;
    const int n = int(highestFirst.size());
    int rank = (percent * n + 99) / 100; // ceil(percent / 100 x n) in whole numbers
    rank = std::clamp(rank, 1, n);
    return highestFirst[std::size_t(rank - 1)];
}

LevelStats levelStats(std::vector<int> levels)
{
    LevelStats s;
    s.count = int(levels.size());
    if (levels.empty())
        return s;
    std::sort(levels.begin(), levels.end(), std::greater<int>());
    // Levels are whole dB, so the energies of the usual ones come from a table.
    static const std::vector<double> energies = [] {
        std::vector<double> e(256);
        for (std::size_t l = 0; l < e.size(); ++l)
            e[l] = std::pow(10.0, double(l) / 10.0);
        return e;
    }();
    double energy = 0;
    for (int l : levels)
        energy += (l >= 0 && l < int(energies.size())) ? energies[std::size_t(l)] : std::pow(10.0, l / 10.0);
    s.laeq = 10.0 * std::log10(energy / s.count);
    s.l10 = exceededLevel(levels, 10);
    s.l50 = exceededLevel(levels, 50);
    s.l90 = exceededLevel(levels, 90);
    s.lmax = levels.front();
    return s;
}

void ThresholdTimeline::add(Minute from, Minute to, int threshold)
{
    if (to <= from)
        return;
    const Segment s{from, to, threshold};
    auto pos = std::upper_bound(m_segments.begin(), m_segments.end(), s,
                                [](const Segment &a, const Segment &b) { return a.from < b.from; });
    m_segments.insert(pos, s);
}

int ThresholdTimeline::at(Minute m) const
{
    // The last segment starting at or before m; chart periods meet at
    // midday, so at most the one before it can overlap.
    auto pos = std::upper_bound(m_segments.begin(), m_segments.end(), m,
                                [](Minute v, const Segment &s) { return v < s.from; });
    for (int back = 0; back < 2 && pos != m_segments.begin(); ++back) {
        --pos;
        if (m < pos->to)
            return pos->threshold;
    }
    return -1;
}

void addChartSchedule(ThresholdTimeline &timeline, const Store &store)
{
    QDate first, last;
    if (!store.Seuils_Prets || !chartDate(store, 1, &first) || !chartDate(store, store.Chart_Days + 1, &last))
        return;
    const Minute start = minuteOf(first, 12, 0), end = minuteOf(last, 12, 0);
    const auto &rows = store.Tab_Seuils;
    if (rows.size() < 2)
        return;
    Minute from = start;
    int value = rows[1][6];
    for (std::size_t i = 1; i < rows.size(); ++i) {
        const auto &r = rows[i];
        const QDate d(2000 + r[3], r[2], r[1]);
        if (!d.isValid())
            continue;
        const Minute at = std::clamp(minuteOf(d, r[4], r[5]), start, end);
        timeline.add(from, at, value);
        from = std::max(from, at);
        value = r[7];
    }
    timeline.add(from, end, value);
}

DayNightClock::DayNightClock(const Store &store)
{
    m_dayToNight = store.Param_Block[block::HourDayNight];
    m_nightToDay = store.Param_Block[block::HourNightDay];
    if (!store.isVersion5Family())
        return;
    for (int r = 1; r <= HistoryTable::rowCount; ++r) {
        Minute from;
        if (rowMinute(store.Param_History.row(r), &from))
            m_history.push_back(Hours{from, store.Param_History(r, history::HourDayNight),
                                      store.Param_History(r, history::HourNightDay)});
    }
    std::stable_sort(m_history.begin(), m_history.end(),
                     [](const Hours &a, const Hours &b) { return a.from < b.from; });
}

DayNightClock::Part DayNightClock::partAt(Minute m) const
{
    int toNight = m_dayToNight, toDay = m_nightToDay;
    auto pos = std::upper_bound(m_history.begin(), m_history.end(), m,
                                [](Minute v, const Hours &h) { return v < h.from; });
    if (pos != m_history.begin()) {
        --pos;
        toNight = pos->dayToNight;
        toDay = pos->nightToDay;
    }
    const Minute day0 = m - m % MinutesPerDay;
    Part p;
    if (!validHour(toNight) || !validHour(toDay) || toNight == toDay) {
        // No night in the settings: the whole calendar day is one day part.
        p.start = day0;
        p.end = day0 + MinutesPerDay;
        return p;
    }
    const int hour = int(m % MinutesPerDay) / 60;
    p.night = toNight > toDay ? (hour >= toNight || hour < toDay) : (hour >= toNight && hour < toDay);
    const int startHour = p.night ? toNight : toDay;
    const int endHour = p.night ? toDay : toNight;
    p.start = day0 + startHour * 60;
    if (p.start > m)
        p.start -= MinutesPerDay;
    p.end = day0 + endHour * 60;
    if (p.end <= m)
        p.end += MinutesPerDay;
    return p;
}

bool recordsDoor(int version)
{
    return version == Version5X || version == VersionKvl36;
}

bool isDoorOpening(const EventEntry &e, int version)
{
    return recordsDoor(version) && e.codeA == 0 && e.codeB == DoorOpenedByteB;
}

bool isDoorClosing(const EventEntry &e, int version)
{
    return recordsDoor(version) && e.codeA == 0 && e.codeB == DoorClosedByteB;
}

LeqSeries countedSeries(const Store &store)
{
    return store.isVersion5Family() ? LeqSeries::Leq1 : LeqSeries::Leq;
}

QList<ExceedanceRun> exceedanceRuns(const Store &store, const QList<LeqInterval> &intervals,
                                    const ThresholdAt &thresholdAt, const DateRange &range)
{
    struct Above
    {
        Minute minute;
        int level, threshold;
    };
    std::vector<Above> above;
    const LeqSeries counted = countedSeries(store);
    for (const LeqInterval &i : intervals) {
        if (i.series != counted)
            continue;
        for (Minute m = i.start; m < i.end; ++m) {
            const int threshold = range.containsMinute(m) ? thresholdAt(m) : -1;
            if (aboveThreshold(i.level, threshold))
                above.push_back(Above{m, i.level, threshold});
        }
    }
    std::stable_sort(above.begin(), above.end(),
                     [](const Above &a, const Above &b) { return a.minute < b.minute; });
    QList<ExceedanceRun> runs;
    for (const Above &a : above) {
        if (runs.isEmpty() || a.minute > runs.last().end) {
            runs.append(ExceedanceRun{a.minute, a.minute + 1, 1, a.level, {a.threshold}});
            continue;
        }
        ExceedanceRun &run = runs.last();
        run.end = std::max(run.end, a.minute + 1);
        ++run.minutes;
        run.highest = std::max(run.highest, a.level);
        if (!run.thresholds.contains(a.threshold))
            run.thresholds.append(a.threshold);
    }
    return runs;
}

namespace {

struct Group
{
    GroupStats stats;
    std::vector<int> levels;
};

class Grouper
{
public:
    Grouper(const DayNightClock &clock, bool counting) : m_clock(clock), m_counting(counting) {}

    // The groups a minute belongs to: the file, its day and its part.
    template <typename F> void forMinute(Minute m, F &&f)
    {
        f(m_whole);
        f(day(m));
        f(part(m));
    }

    Summary result()
    {
        Summary s;
        s.whole = finish(m_whole, QStringLiteral("file"));
        for (auto &d : m_days)
            s.days.append(finish(d.second, QStringLiteral("day")));
        for (auto &p : m_parts)
            s.parts.append(finish(p.second, QStringLiteral("part")));
        return s;
    }

    Group m_whole;

private:
    Group &day(Minute m)
    {
        const Minute start = m - m % MinutesPerDay;
        auto it = m_days.find(start);
        if (it == m_days.end()) {
            it = m_days.emplace(start, Group()).first;
            it->second.stats.start = start;
            it->second.stats.end = start + MinutesPerDay;
            init(it->second);
        }
        return it->second;
    }
    Group &part(Minute m)
    {
        const DayNightClock::Part p = m_clock.partAt(m);
        auto it = m_parts.find(p.start);
        if (it == m_parts.end()) {
            it = m_parts.emplace(p.start, Group()).first;
            it->second.stats.start = p.start;
            it->second.stats.end = p.end;
            it->second.stats.part = p.night ? QStringLiteral("night") : QStringLiteral("day");
            init(it->second);
        }
        return it->second;
    }
    void init(Group &g) const { g.stats.minutesAbove = m_counting ? 0 : -1; }
    static GroupStats finish(Group &g, const QString &scope)
    {
        g.stats.scope = scope;
        g.stats.levels = levelStats(std::move(g.levels));
        return g.stats;
    }

    const DayNightClock &m_clock;
    bool m_counting;
    std::map<Minute, Group> m_days, m_parts;
};

} // namespace

Summary summarise(const Store &store, const QList<LeqInterval> &intervals, const QList<EventEntry> &events,
                  const ThresholdTimeline *timeline, const DateRange &range)
{
    const DayNightClock clock(store);
    const bool counting = timeline != nullptr;
    Grouper g(clock, counting);
    g.m_whole.stats.minutesAbove = counting ? 0 : -1;
    const LeqSeries counted = countedSeries(store);
    bool any = false;
    Minute first = 0, last = 0;
    auto span = [&](Minute from, Minute to) {
        first = any ? std::min(first, from) : from;
        last = any ? std::max(last, to) : to;
        any = true;
    };

    for (const LeqInterval &i : intervals) {
        span(i.start, i.end);
        if (i.series != LeqSeries::Leq1)
            g.forMinute(i.lastMinute(), [&](Group &grp) { grp.levels.push_back(i.level); });
        if (!counting || i.series != counted)
            continue;
        for (Minute m = i.start; m < i.end; ++m) {
            if (!range.containsMinute(m))
                continue;
            const int threshold = timeline->at(m);
            if (aboveThreshold(i.level, threshold))
                g.forMinute(m, [](Group &grp) { ++grp.stats.minutesAbove; });
        }
    }
    for (const EventEntry &e : events) {
        const bool door = isDoorOpening(e, store.Device_Version);
        g.forMinute(e.time, [&](Group &grp) {
            ++grp.stats.events[e.label];
            if (door)
                ++grp.stats.doorOpenings;
        });
        span(e.time, e.time + 1);
    }
    g.m_whole.stats.start = first;
    g.m_whole.stats.end = last;
    return g.result();
}

QString chartStatisticsText(const Store &store, LeqSeries series)
{
    const QList<LeqInterval> rows = listIntervals(store, series);
    std::vector<int> levels;
    for (const LeqInterval &i : rows)
        levels.push_back(i.level);
    const LevelStats s = levelStats(std::move(levels));
    if (s.count == 0)
        return QString();

    // Minutes are counted on the 1-minute levels where the device has them.
    QList<LeqInterval> counted = rows;
    if (series == LeqSeries::Leq10)
        counted = listIntervals(store, LeqSeries::Leq1);
    ThresholdTimeline timeline;
    addChartSchedule(timeline, store);
    const PeriodRows eventRows = scanPeriod(store.Event_Records, EventTable::rowCount, storedPeriod(store));
    const QList<EventEntry> events = eventEntries(store.Event_Records, eventRows.first, eventRows.last,
                                                  store.Device_Version, EventList::Table);
    const Summary whole =
        summarise(store, counted, events, timeline.isEmpty() ? nullptr : &timeline, DateRange());

    QStringList lines;
    lines << QStringLiteral("%1 levels of the period: %2").arg(seriesName(series)).arg(s.count);
    lines << QStringLiteral("LAeq %1 dB   L10 %2 dB   L50 %3 dB   L90 %4 dB   Lmax %5 dB")
                 .arg(QString::number(s.laeq, 'f', 1))
                 .arg(s.l10)
                 .arg(s.l50)
                 .arg(s.l90)
                 .arg(s.lmax);
    if (whole.whole.minutesAbove >= 0)
        lines << QStringLiteral("Minutes above the threshold in force: %1").arg(whole.whole.minutesAbove);
    if (store.isVersion5Family())
        lines << QStringLiteral("Door openings: %1").arg(whole.whole.doorOpenings);
    lines << QStringLiteral("L10, L50, L90: levels reached by 10, 50, 90 % of them (nearest rank).");
    return lines.join(QLatin1Char('\n'));
}

} // namespace kvl
