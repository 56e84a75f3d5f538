#pragma once

// Where a file's summary takes its thresholds from the device's current
// parameters, for want of records: said per day.

#include "export/Statistics.h"

namespace kvl {

// One note per day of the summary and stretch of it whose minutes take the
// current parameters, in time order: "threshold schedule: 2026-09-06 00:00
// to 21:41: the device's current parameters (no door event before)".
QStringList scheduleNotes(const Summary &summary, const FileThresholds &thresholds);

} // namespace kvl
