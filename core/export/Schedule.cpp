#include "export/Schedule.h"

#include "charts/ChartPeriod.h"
#include "charts/Thresholds.h"
#include "store/Layout.h"

#include <algorithm>

namespace kvl {

namespace {

constexpr int ChunkDays = 7; // the longest chart
constexpr int NoonMinute = 12 * 60;

int blockLevel(const ParamBlockTable &block, int element)
{
    return 100 * block[element] + block[element + 1];
}

} // namespace

bool fileSchedule(Store &store, const QList<LeqInterval> &intervals, ThresholdTimeline *timeline,
                  QStringList *warnings)
{
    if (intervals.isEmpty())
        return false;
    Minute first = intervals.front().start, last = intervals.front().end;
    for (const LeqInterval &i : intervals) {
        first = std::min(first, i.start);
        last = std::max(last, i.end);
    }
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
    // Chart periods run from midday to midday: the first one starts at the
    // midday at or before the first minute.
    QDate day = dateOf(first - NoonMinute);
    bool any = false;
    while (minuteOf(day, 12, 0) < last) {
        storeChartPeriod(store, ChartDate{day.day(), day.month(), day.year()}, ChunkDays);
        Analyse_Seuils(store, ChunkDays, collect);
        if (store.Seuils_Prets) {
            addChartSchedule(*timeline, store);
            any = true;
        }
        day = day.addDays(ChunkDays);
    }
    return any;
}

} // namespace kvl
