#include "export/Statistics.h"

#include "store/Layout.h"
#include "store/Names.h"
#include "tables/Period.h"

#include <QHash>

#include <algorithm>
#include <cmath>
#include <map>

namespace kvl {

namespace {

constexpr int DoorOpenedByteB = 32;

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
    const QDate first = chartDay(store, 1), last = chartDay(store, store.Chart_Days + 1);
    if (!store.Seuils_Prets || !first.isValid() || !last.isValid())
        return;
    const Minute start = minuteOf(first, 12, 0), end = minuteOf(last, 12, 0);
    const auto &rows = store.Tab_Seuils;
    if (rows.size() < 2)
        return;
    Minute from = start;
    int value = rows[1][seuil::Before];
    for (std::size_t i = 1; i < rows.size(); ++i) {
        const auto &r = rows[i];
        const QDate d(2000 + r[seuil::Year], r[seuil::Month], r[seuil::Day]);
        if (!d.isValid())
            continue;
        const Minute at = std::clamp(minuteOf(d, r[seuil::Hour], r[seuil::Minute]), start, end);
        timeline.add(from, at, value);
        from = std::max(from, at);
        value = r[seuil::After];
    }
    timeline.add(from, end, value);
}

bool isDoorOpening(const EventEntry &e, int version)
{
    return isVersion5Family(version) && e.codeA == 0 && e.codeB == DoorOpenedByteB;
}

LeqSeries countedSeries(const Store &store)
{
    return store.isVersion5Family() ? LeqSeries::Leq1 : LeqSeries::Leq;
}

QList<ExceedanceRun> exceedanceRuns(const Store &store, const QList<LeqInterval> &intervals,
                                    const InForceAt &inForce, const DateRange &range)
{
    struct Above
    {
        Minute minute;
        int level, threshold;
        bool doorOpen;
    };
    std::vector<Above> above;
    const LeqSeries counted = countedSeries(store);
    InForce now;
    for (const LeqInterval &i : intervals) {
        if (i.series != counted)
            continue;
        for (Minute m = i.start; m < i.end; ++m) {
            if (!range.containsMinute(m))
                continue;
            if (m < now.from || m >= now.until)
                now = inForce(m);
            if (aboveThreshold(i.level, now.threshold))
                above.push_back(Above{m, i.level, now.threshold, now.doorOpen});
        }
    }
    std::stable_sort(above.begin(), above.end(),
                     [](const Above &a, const Above &b) { return a.minute < b.minute; });
    QList<ExceedanceRun> runs;
    for (const Above &a : above) {
        if (runs.isEmpty() || a.minute > runs.last().end) {
            runs.append(ExceedanceRun{a.minute, a.minute + 1, 1, a.level, {a.threshold}, a.doorOpen});
            continue;
        }
        ExceedanceRun &run = runs.last();
        run.end = std::max(run.end, a.minute + 1);
        ++run.minutes;
        run.highest = std::max(run.highest, a.level);
        if (!run.thresholds.contains(a.threshold))
            run.thresholds.append(a.threshold);
        run.doorOpen = run.doorOpen || a.doorOpen;
    }
    return runs;
}

Summary fileSummary(const Store &store, const QList<LeqInterval> &all, const FileThresholds &thresholds,
                    const DateRange &range)
{
    // A night starting on the last day takes its events of the next morning.
    const DateRange events{range.from, range.to.isNull() ? range.to : range.to.addDays(1)};
    return summarise(
        store, all, storeEvents(store, events), [&thresholds](Minute m) { return thresholds.at(m); }, range);
}

namespace {

struct Group
{
    Group() { stats.minutesAbove = 0; }
    GroupStats stats;
    std::vector<int> levels;
    bool unknownThreshold = false;
    std::vector<int> eventCounts; // by label number
};

class Grouper
{
public:
    Grouper(const InForceAt &inForce, const DateRange &range) : m_inForce(inForce), m_range(range) {}

    // Events are counted by a number per label: one hash look-up per event.
    int labelNumber(const QString &label)
    {
        const auto it = m_labels.constFind(label);
        if (it != m_labels.constEnd())
            return it.value();
        m_labelNames.push_back(label);
        return *m_labels.insert(label, int(m_labelNames.size()) - 1);
    }
    static void countEvent(Group &g, int label)
    {
        if (g.eventCounts.size() <= std::size_t(label))
            g.eventCounts.resize(std::size_t(label) + 1);
        ++g.eventCounts[std::size_t(label)];
    }

    // Whether a minute can belong to a group of the range: a part that starts
    // on the range's last day runs on into the next one.
    bool mayCount(Minute m) const
    {
        return m_range.containsMinute(m) ||
               (!m_range.to.isNull() && m_range.containsMinute(m - MinutesPerDay));
    }

    // The groups a minute belongs to: the file and its day when the minute
    // lies in the range, its part when the part starts on a day of the range
    // (so a part's figures are whole whatever the range). Minutes mostly come
    // in order, so the last answer and groups are kept.
    template <typename F> void forMinute(Minute m, F &&f)
    {
        if (m < m_now.from || m >= m_now.until) {
            m_now = m_inForce(m);
            m_part = m_range.containsMinute(m_now.partStart) ? &part(m_now) : nullptr;
        }
        if (m_part)
            f(*m_part, m_now);
        if (!m_range.containsMinute(m))
            return;
        if (!m_day || m < m_day->stats.start || m >= m_day->stats.end)
            m_day = &day(m);
        f(m_whole, m_now);
        f(*m_day, m_now);
    }

    Summary result()
    {
        Summary s;
        s.whole = finish(m_whole, QStringLiteral("file"));
        for (auto &d : m_days)
            s.days.append(finish(d.second, QStringLiteral("day")));
        for (auto &p : m_parts)
            s.parts.append(finish(p.second, QStringLiteral("part")));
        // A change of hours can start a part before the one it follows.
        std::stable_sort(s.parts.begin(), s.parts.end(),
                         [](const GroupStats &a, const GroupStats &b) { return a.start < b.start; });
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
        }
        return it->second;
    }
    // One group per day and kind of part: the minutes of a part keep it
    // whatever hours hold later, and a change of hours gives no second part.
    Group &part(const InForce &now)
    {
        const std::pair<Minute, bool> key{now.partStart - now.partStart % MinutesPerDay, now.night};
        auto it = m_parts.find(key);
        if (it == m_parts.end()) {
            it = m_parts.emplace(key, Group()).first;
            it->second.stats.start = now.partStart;
            it->second.stats.end = now.partEnd;
            it->second.stats.part = now.night ? QStringLiteral("night") : QStringLiteral("day");
        }
        GroupStats &s = it->second.stats;
        s.start = std::min(s.start, now.partStart);
        s.end = std::max(s.end, now.partEnd);
        return it->second;
    }
    GroupStats finish(Group &g, const QString &scope) const
    {
        g.stats.scope = scope;
        for (std::size_t label = 0; label < g.eventCounts.size(); ++label)
            if (g.eventCounts[label])
                g.stats.events.insert(m_labelNames[label], g.eventCounts[label]);
        g.stats.levels = levelStats(std::move(g.levels));
        g.stats.minutesAbove = g.unknownThreshold ? -1 : g.stats.minutesAbove;
        return g.stats;
    }

    const InForceAt &m_inForce;
    const DateRange m_range;
    InForce m_now;
    Group *m_day = nullptr;
    Group *m_part = nullptr;
    std::map<Minute, Group> m_days;
    std::map<std::pair<Minute, bool>, Group> m_parts;
    QHash<QString, int> m_labels;
    std::vector<QString> m_labelNames;
};

} // namespace

Summary summarise(const Store &store, const QList<LeqInterval> &intervals, const QList<EventEntry> &events,
                  const InForceAt &inForce, const DateRange &range)
{
    Grouper g(inForce, range);
    const LeqSeries counted = countedSeries(store);
    bool any = false;
    Minute first = 0, last = 0;
    auto span = [&](Minute from, Minute to) {
        first = any ? std::min(first, from) : from;
        last = any ? std::max(last, to) : to;
        any = true;
    };

    for (const LeqInterval &i : intervals) {
        if (range.containsMinute(i.lastMinute()))
            span(i.start, i.end);
        if (i.series != LeqSeries::Leq1 && g.mayCount(i.lastMinute()))
            g.forMinute(i.lastMinute(), [&](Group &grp, const InForce &) { grp.levels.push_back(i.level); });
        if (i.series != counted)
            continue;
        for (Minute m = i.start; m < i.end; ++m) {
            if (!g.mayCount(m))
                continue;
            if (range.containsMinute(m))
                span(m, m + 1);
            g.forMinute(m, [&](Group &grp, const InForce &now) {
                if (now.threshold < 0)
                    grp.unknownThreshold = true;
                else if (aboveThreshold(i.level, now.threshold))
                    ++grp.stats.minutesAbove;
            });
        }
    }
    for (const EventEntry &e : events) {
        if (!g.mayCount(e.time))
            continue;
        const bool door = isDoorOpening(e, store.Device_Version);
        const int label = g.labelNumber(e.label);
        g.forMinute(e.time, [&](Group &grp, const InForce &) {
            Grouper::countEvent(grp, label);
            if (door)
                ++grp.stats.doorOpenings;
        });
        if (range.containsMinute(e.time))
            span(e.time, e.time + 1);
    }
    g.m_whole.stats.start = first;
    g.m_whole.stats.end = last;
    return g.result();
}

bool isEmpty(const Summary &summary)
{
    return summary.days.isEmpty();
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
    // The staircase drawn on the chart; parts play no part in the tool tip.
    const InForceAt drawn = [&timeline](Minute m) {
        InForce f;
        f.threshold = timeline.at(m);
        f.partStart = m - m % MinutesPerDay;
        f.partEnd = f.partStart + MinutesPerDay;
        return f;
    };
    const Summary whole = summarise(store, counted, events, drawn, DateRange());

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
