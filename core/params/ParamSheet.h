#pragma once

// Every text of the parameter sheet, for the device's current parameters and
// for a dated parameter record, computed from a Store without any window.

#include "store/Measurement.h"
#include "store/Store.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <utility>

namespace kvl {

// The parameter record's regulation mode flag: bit 6 of field 7. Fields 7 and
// 8 are the only fields kept raw by the decoder, so a bit flag survives only
// there, and bit 6 is unused by the analysis configuration held in field 7.
constexpr int HistoryRegulationField = history::Regulation;
constexpr int RegulationNormalBit = block::RegulationNormalBit;

// Entries of the "KVL 36" band level ring and how many history entries its
// selector keeps.
constexpr int BandRingEntries = block::BandRingEntries;
constexpr int Kvl36PeriodEntries = 25;

// The raw parameter bytes the sheet formats, taken either from Param_Block
// or from one Param_History record.
struct ParamValues
{
    int analysis = 0;      // element 6 / field 7
    int source = 0;        // element 7 / field 8
    int attack = 0;        // element 2049 / field 10
    int release = 0;       // element 2051 / field 12
    int halfStep = 0;      // element 2052 / field 13
    int reduction = 0;     // element 2053 / field 14
    int bands[7] = {};     // elements 2055..2067 / fields 16..28, every second one
    int levels[7][2] = {}; // day, day open, night, night open, line regulation, public, sensor
    int hourDayNight = 0;
    int hourNightDay = 0;

    Measurement measurement() const { return measurementOf(analysis, source); }
};

ParamValues valuesFromBlock(const ParamBlockTable &block);
ParamValues valuesFromRecord(const HistoryTable &history, int row);

// Texts of the sheet's value labels. A null text leaves the label as it is.
struct SheetTexts
{
    QString firmware;
    QString serialNumber;
    QString leqDay;
    QString leqDayOpen;
    QString leqNight;
    QString leqNightOpen;
    QString publicLevel;
    QString sensorLevel;
    QString dayToNight;
    QString nightToDay;
    QString regulation;
    QString analysis;
    QString source;
    QString attack;
    QString release;
    QString outputReduction;
    QString lineRegulation;
    bool filterCardPresent = false;
    QString filterTitle;
    // 63 Hz .. 4 kHz.
    std::array<QString, 7> bandCaptions;
    std::array<QString, 7> bandValues;
    QString correlation;
};

// Single texts, exposed for the tests and for other views.
QString levelText(int high, int low);
QString hourText(int hour);
// "Analysis : A Weighted." ("A weighted." for a selected period), "Flat.",
// "Source : Line, A Weighted.": the chart window shows the same texts.
QString analysisText(Weighting analysis, bool periodSelected);
QString weightingWord(Weighting weighting);
QString sourceText(InputSource source, Weighting weighting);
QString attackText(int code);
QString releaseText(int code);
QString outputReductionText(int halfStep, int whole);
QString lineRegulationText(int high, int low);
QString attenuationText(int value);
QString bandLevelText(int value);
QString correlationText(int value);
QString regulationText(bool normal);
QString firmwareVersionText(const Store &store);

// The sheet as loaded, from Param_Block. Rebuilds Serial_Number first.
SheetTexts loadSheet(Store &store);

// "Monday 03   March    2008  at  09 : 05".
QString recordText(const HistoryTable &history, int row);
// The same form made from Transfer_Date and Transfer_Time.
QString downloadText(const QDateTime &transfer);

// One entry of the period selector.
struct PeriodEntry
{
    QString text;
    int row = 0;  // its Param_History row
    int rank = 0; // 0 = newest valid record, 1 = the one before, ...
};

// The period selector of a firmware 5.X or "KVL 36" sheet.
struct PeriodList
{
    QList<PeriodEntry> entries; // newest first
    QList<int> validRows;       // every valid record's row, newest first
    QStringList validTexts;     // and its text
    QString currentPeriodText;  // text of the newest record, "" when none
    QString downloadText;
    QString dateCaption; // Label_Date as loaded

    QStringList texts() const;
};

PeriodList buildPeriodList(const Store &store);

// Label_Date for selector entry index.
QString periodDateCaption(const PeriodList &list, int index);

// The sheet for selector entry index: the record's values, and for the
// "KVL 36" the band levels of its band ring entry. Version and serial number
// are null (unchanged), as are the band captions.
SheetTexts periodSheet(const Store &store, const PeriodList &list, int index);

// Band ring entry (0..21) of the record of that rank, or -1 when the ring
// does not hold it: N outside 1..22, or a record older than the ring.
int bandRingEntry(const ParamBlockTable &block, int rank);

} // namespace kvl
