#include "Logging.h"

namespace kvl {
// QtCriticalMsg: nothing below critical is shown unless a rule enables it.
Q_LOGGING_CATEGORY(lcLink, "kvl.link", QtCriticalMsg)
Q_LOGGING_CATEGORY(lcFiles, "kvl.files", QtCriticalMsg)
Q_LOGGING_CATEGORY(lcCharts, "kvl.charts", QtCriticalMsg)
} // namespace kvl
