#include "export/Schedule.h"

namespace kvl {

bool fileSchedule(Store &, const QList<LeqInterval> &, ThresholdTimeline *, QStringList *)
{
    return false;
}

} // namespace kvl
