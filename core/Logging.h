#pragma once

// Logging categories for a support engineer: the serial link (phases, byte
// counts, time-outs, retries, outcome), the data files (load failures with
// their line and token) and the charts. All are off by default; turn them on
// with e.g. QT_LOGGING_RULES="kvl.*=true" or "kvl.link.debug=true".

#include <QLoggingCategory>

namespace kvl {
Q_DECLARE_LOGGING_CATEGORY(lcLink)
Q_DECLARE_LOGGING_CATEGORY(lcFiles)
Q_DECLARE_LOGGING_CATEGORY(lcCharts)
} // namespace kvl
