#pragma once

// The threshold schedule of a Leq diagram: which threshold was in force at
// each moment of the chart period (Tab_Seuils), and for firmware 5.X and
// "KVL 36" the analysis of the parameter history and the door events.

#include "store/Store.h"

#include <functional>
#include <memory>
#include <vector>

namespace kvl {

// Highest threshold the schedule accepts, dB (two device fields, hundreds
// 0 or 1); the chart dialog checks typed thresholds against it.
constexpr int MaxThresholdDb = 199;

// Shows one analysis message (information icon, title "!!!").
using ScheduleMessage = std::function<void(const QString &text)>;

// Builds Tab_Seuils for the stored chart period of `days` days (1, 3, 7)
// and sets Seuils_Prets. Tab_Seuils keeps its unused row 0, so it has
// size() - 1 rows; without a schedule it holds row 0 only. Firmware 5.X and
// "KVL 36" build it from Param_History and the door events and also set
// Parametres_Constants, Premier_Parametre and Dernier_Parametre, or show one
// message and leave Seuils_Prets cleared.
void Analyse_Seuils(Store &store, int days, const ScheduleMessage &message);
void Analyse_Seuils_1J(Store &store, const ScheduleMessage &message);
void Analyse_Seuils_3J(Store &store, const ScheduleMessage &message);
void Analyse_Seuils_7J(Store &store, const ScheduleMessage &message);

// Why a minute's threshold and hours are the device's current parameters
// (Param_Block, door closed) rather than those its records put in force.
enum class ScheduleGap { None, NoParameterRecord, NoDoorEvent, UnusableRecord };

// What holds at one minute of a file.
struct InForce
{
    int threshold = -1; // dB; -1 when the parameters give no usable one
    bool night = false;
    // The day or night part holding the minute under the hours in force at
    // it, [partStart, partEnd) in minutes; the calendar day when the hours
    // give no night.
    qint64 partStart = 0, partEnd = 0;
    ScheduleGap gap = ScheduleGap::None;
    // The door as its last event at or before the minute left it (closed
    // before any, and on firmware without door events); a gap's threshold
    // still takes it closed.
    bool doorOpen = false;
    // All of the above holds for every minute of [from, until): callers
    // walking minutes in order ask again only past it.
    qint64 from = 0, until = 0;
};

// The threshold and the day or night part in force at any minute of a file,
// in minutes since the epoch of QDate's Julian day (day x 1440 + minute).
// They depend on the store alone: firmware 5.X and "KVL 36" take the
// parameter record and the door state in force at the minute, from every
// record before it (an empty history: the current parameters all along);
// until both are known, or while the record in force is not usable, the
// current parameters with the door closed, as a chart without a schedule
// does. Firmware 3.5 and 4.0 keep no history: the current parameters.
class FileThresholds
{
public:
    explicit FileThresholds(const Store &store);

    InForce at(qint64 minute) const;

    struct Gap
    {
        qint64 from, to;
        ScheduleGap why;
    };
    // The stretches of [from, to) whose minutes take the current parameters
    // for want of records, in time order.
    std::vector<Gap> gaps(qint64 from, qint64 to) const;

private:
    void findGaps();

    struct Data;
    std::shared_ptr<const Data> m_data;
};

} // namespace kvl
