#include "export/Schedule.h"

namespace kvl {

namespace {

QString reason(ScheduleGap why)
{
    switch (why) {
    case ScheduleGap::NoParameterRecord:
        return QStringLiteral("no parameter record before");
    case ScheduleGap::NoDoorEvent:
        return QStringLiteral("no door event before");
    case ScheduleGap::UnusableRecord:
        return QStringLiteral("the parameter record in force holds no usable threshold");
    case ScheduleGap::None:
        break;
    }
    return QString();
}

// "hh:mm" of a minute within the day starting at day0; 24:00 for its end.
QString clock(Minute m, Minute day0)
{
    const int inDay = int(m - day0);
    return QString::asprintf("%02d:%02d", inDay / 60, inDay % 60);
}

} // namespace

QStringList scheduleNotes(const Summary &summary, const FileThresholds &thresholds)
{
    QStringList notes;
    for (const GroupStats &day : summary.days)
        for (const FileThresholds::Gap &g : thresholds.gaps(day.start, day.end))
            notes << QStringLiteral("threshold schedule: %1 %2 to %3: the device's current parameters (%4)")
                         .arg(dateOf(day.start).toString(Qt::ISODate), clock(g.from, day.start),
                              clock(g.to, day.start), reason(g.why));
    return notes;
}

} // namespace kvl
