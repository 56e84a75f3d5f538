#pragma once

// The threshold schedule of a Leq diagram: which threshold was in force at
// each moment of the chart period (Tab_Seuils), and for firmware 5.X and
// "KVL 36" the analysis of the parameter history and the door events.

#include "store/Store.h"

#include <functional>

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

} // namespace kvl
