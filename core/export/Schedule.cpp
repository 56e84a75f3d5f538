#include "export/Schedule.h"

#include "charts/ChartPeriod.h"
#include "charts/Thresholds.h"
#include "store/Layout.h"

#include <set>

namespace kvl {

namespace {

constexpr int ChunkDays = 7; // the longest chart
constexpr int NoonMinute = 12 * 60;
constexpr Minute ChunkMinutes = ChunkDays * MinutesPerDay;

} // namespace

bool fileSchedule(Store &store, const QList<LeqInterval> &intervals, ThresholdTimeline *timeline,
                  QStringList *warnings)
{
    // Only the minutes of the counted levels need a threshold.
    const LeqSeries counted = store.isVersion5Family() ? LeqSeries::Leq1 : LeqSeries::Leq;
    std::set<Minute> chunks; // first minute of each chart period needed
    Minute origin = -1;
    for (const LeqInterval &i : intervals) {
        if (i.series != counted)
            continue;
        // Chart periods run from midday to midday, a week each, from the
        // midday at or before the first counted minute.
        if (origin < 0)
            origin = minuteOf(dateOf(i.start - NoonMinute), 12, 0);
        for (Minute m : {i.start, i.end - 1})
            if (m >= origin)
                chunks.insert(origin + (m - origin) / ChunkMinutes * ChunkMinutes);
    }
    if (chunks.empty())
        return false;
    if (!store.isVersion5Family()) {
        // 3.5 and 4.0 keep no history: the device's current parameters, as
        // the chart dialog proposes them.
        store.Seuil_Jour = qint16(blockLevel(store.Param_Block, block::LeqDay));
        store.Seuil_Nuit = qint16(blockLevel(store.Param_Block, block::LeqNight));
        store.Heure_Jour_Nuit = store.Param_Block[block::HourDayNight];
        store.Heure_Nuit_Jour = store.Param_Block[block::HourNightDay];
    }
    const ScheduleMessage collect = [warnings](const QString &text) {
        const QString note = QStringLiteral("threshold schedule: ") + text;
        if (warnings && !warnings->contains(note))
            warnings->append(note);
    };
    bool any = false;
    for (Minute start : chunks) {
        const QDate day = dateOf(start);
        storeChartPeriod(store, ChartDate{day.day(), day.month(), day.year()}, ChunkDays);
        Analyse_Seuils(store, ChunkDays, collect);
        if (store.Seuils_Prets) {
            addChartSchedule(*timeline, store);
            any = true;
        }
    }
    return any;
}

} // namespace kvl
