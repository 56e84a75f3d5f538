#pragma once

// Texts of the chart window computed from the store: header, date line,
// level extremes, threshold and hour labels. Weighting and source are the
// parameter sheet's texts.

#include "store/Messages.h"
#include "store/Store.h"

#include <QString>

namespace kvl {

// Label_Entete: model, firmware and serial number (Serial_Number as stored).
QString chartHeader(const Store &store);

// Label_Date: "Leq Diagram from : <day name> <d> <month> <yyyy> at midday to  ... at midday."
QString chartDateLine(const Store &store);

// Lowest and highest level of rows first..last of a Leq table (rowsWithin).
// The search starts from 125 and 60 dB, so levels outside that span are
// capped there, and a period without rows gives 125 and 60.
struct LevelRange
{
    int lowest = 125;
    int highest = 60;
};
LevelRange levelRange(const LeqTable &table, int first, int last);

// "Leq10 Level Minimum = 72 dB." and its sisters; series is "Leq10" or "Leq1".
QString minimumText(const QString &series, int level);
QString maximumText(const QString &series, int level);

// The six threshold and hour labels of the chart window.
struct ThresholdTexts
{
    QString heureJourNuit, heureNuitJour;
    QString jour, jourFenetre, nuit, nuitFenetre;
};

// Firmware 3.5/4.0: from the thresholds and hours chosen in the dialog (no
// open-door values).
ThresholdTexts thresholdTextsV4(const Store &store);

// Firmware 5.X and "KVL 36": from the Param_History row Premier_Parametre,
// or from Param_Block when it is 0. Only meaningful once the schedule is
// ready and the parameters constant (thresholdLabelsShown).
ThresholdTexts thresholdTextsV5(const Store &store);
bool thresholdLabelsShown(const Store &store);
// Firmware 5.X and "KVL 36": the schedule is drawn but its parameters
// changed in the period, so the six labels are hidden; one line says why.
bool thresholdsChangedShown(const Store &store);
QString thresholdsChangedText();


} // namespace kvl
