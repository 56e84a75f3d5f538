#pragma once

// The threshold in force over the whole span of a file's levels, built from
// the chart schedule period by period.

#include "export/Statistics.h"

namespace kvl {

// Fills the timeline over the days of the intervals. False when no
// schedule could be built. Messages of the history analysis go to warnings,
// once each.
bool fileSchedule(Store &store, const QList<LeqInterval> &intervals, ThresholdTimeline *timeline,
                  QStringList *warnings);

} // namespace kvl
