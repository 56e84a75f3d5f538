#pragma once

// Figures of a period that people are asked for: the energy mean level
// (LAeq), the levels exceeded 10, 50 and 90 % of the time, the highest level,
// the minutes above the threshold in force, door openings and events by label;
// per file, per day and per day or night part.

#include "charts/Thresholds.h"
#include "export/Export.h"

#include <QMap>

#include <functional>
#include <vector>

namespace kvl {

struct LevelStats
{
    int count = 0;
    double laeq = 0; // 10 log10 of the mean of 10^(L/10)
    int l10 = 0, l50 = 0, l90 = 0, lmax = 0;
};

// Nearest rank: with the n levels sorted highest first, the level reached or
// exceeded by `percent` % of them is the one at rank ceil(percent / 100 x n),
// at least 1. So it is always a level that was measured.
int exceededLevel(const std::vector<int> &highestFirst, int percent);
LevelStats levelStats(std::vector<int> levels);

// The threshold in force minute by minute, as segments [from, to).
class ThresholdTimeline
{
public:
    void add(Minute from, Minute to, int threshold);
    // -1 when no segment holds the minute.
    int at(Minute m) const;
    bool isEmpty() const { return m_segments.empty(); }

private:
    struct Segment
    {
        Minute from, to;
        int threshold;
    };
    std::vector<Segment> m_segments; // sorted by start
};

// Adds the schedule that Tab_Seuils holds for the stored chart period (from
// the first chart day at midday to the last at midday); nothing when
// Seuils_Prets is not set.
void addChartSchedule(ThresholdTimeline &timeline, const Store &store);

struct GroupStats
{
    QString scope; // "file", "day" or "part"
    Minute start = 0, end = 0;
    QString part; // "day" or "night" for a part
    LevelStats levels;
    int minutesAbove = -1; // -1: a counted minute had no threshold
    int doorOpenings = 0;
    QMap<QString, int> events;
};

struct Summary
{
    GroupStats whole;
    QList<GroupStats> days;
    QList<GroupStats> parts;
};

// What holds at a minute: the threshold and the day or night part.
using InForceAt = std::function<InForce(Minute)>;

// The figures of a store's levels and events in a range. Levels are the
// 10-minute ones (Leq, or Leq10 on 5.X and "KVL 36"); each level counts for
// the day and part of the last minute it measured, and only when that minute
// lies in the range; a part counts whole when it starts on a day of the range,
// so its figures do not depend on the range. Minutes above the threshold are counted minute by minute
// over the 1-minute levels (5.X, "KVL 36") or the 10-minute levels (3.5,
// 4.0), each minute of the range for its own day and part, a level strictly
// above the threshold in force at that minute; a group with a counted minute
// that has no threshold gets -1. A part is the day or night part by the hours
// in force at each minute, grouped by the day it starts on and its kind.
// Pass every interval of the store, so that minutes of a level ending after
// the range still count.
Summary summarise(const Store &store, const QList<LeqInterval> &intervals, const QList<EventEntry> &events,
                  const InForceAt &inForce, const DateRange &range);

// True when the summary holds no level and no event.
bool isEmpty(const Summary &summary);

// The figures of a chart window's list for its tool tip: the levels of the
// list (Leq, Leq10 or Leq1 rows of the period), the minutes above the
// threshold of the schedule in Tab_Seuils and the door openings of the period.
QString chartStatisticsText(const Store &store, LeqSeries series);

// Door opened: byte A 0, byte B 32, on the devices that record the door.
bool isDoorOpening(const EventEntry &e, int version);

// The levels whose minutes are checked against the threshold: the 1-minute
// ones where the device stores them (5.X, "KVL 36"), else the 10-minute ones.
LeqSeries countedSeries(const Store &store);
// A level exceeds a threshold when it is strictly above it; -1 is no threshold.
inline bool aboveThreshold(int level, int threshold)
{
    return threshold >= 0 && level > threshold;
}

// The figures kvl-report --summary gives for a range of a loaded file: `all`
// holds every interval of the file (storeIntervals over no range), so that
// the minutes of a level ending after the range count; the range's events
// and the next morning's for a night part; thresholds and parts from the
// whole file.
Summary fileSummary(const Store &store, const QList<LeqInterval> &all, const FileThresholds &thresholds,
                    const DateRange &range);

// Consecutive minutes above the threshold in force, [start, end), with the
// highest level, the thresholds met (in order, each once) and whether the
// door was open at any of its minutes. `minutes` counts them as
// minutesAbove does: a stamp stored twice (the hour repeated when the clock
// goes back) counts twice.
struct ExceedanceRun
{
    Minute start = 0, end = 0;
    int minutes = 0;
    int highest = 0;
    QList<int> thresholds;
    bool doorOpen = false;
};
// The runs of the counted levels' minutes in the range; pass every interval
// of the store, as to summarise.
QList<ExceedanceRun> exceedanceRuns(const Store &store, const QList<LeqInterval> &intervals,
                                    const InForceAt &inForce, const DateRange &range);

} // namespace kvl
