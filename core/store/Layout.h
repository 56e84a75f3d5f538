#pragma once

// The device's memory layout, written once: which record field, parameter
// element and history field holds what, and the per-version sizes. Every
// other file reads a threshold, an hour or a firmware digit through these
// names, never through a bare number.

#include <QtGlobal>

namespace kvl {

// Fields of a record row (Leq_Records, Event_Records, Param_History), from 1.
namespace field {
constexpr int Minute = 1;
constexpr int Hour = 2;
constexpr int Day = 3;
// Leq records of firmware 5.X and "KVL 36": 1 = Leq1, 10 = Leq10.
constexpr int Kind = 4;
constexpr int Month = 5;
// Year within the century; the year is 2000 + this field.
constexpr int Year = 6;
// Leq records: level = 100 x LevelHundreds + LevelUnits.
constexpr int LevelUnits = 7;
constexpr int LevelHundreds = 8;
// Event records: the two code bytes.
constexpr int CodeA = 7;
constexpr int CodeB = 8;
} // namespace field

// Record kinds of field::Kind.
constexpr int KindLeq1 = 1;
constexpr int KindLeq10 = 10;

// The Leq series: the one series of firmware 3.5 and 4.0, the Leq10 and Leq1
// series of 5.X and "KVL 36".
enum class LeqSeries { Leq, Leq10, Leq1 };

// Minutes one level of a series measures.
constexpr int seriesMinutes(LeqSeries series)
{
    return series == LeqSeries::Leq1 ? KindLeq1 : KindLeq10;
}

// Field `f` (from 1) of a record row given by its first field.
inline qint16 fieldOf(const qint16 *row, int f)
{
    return row[f - 1];
}

// Elements of Param_Block (indexed from 0). A level is two elements, high
// part (hundreds) then low part: value = 100 x [e] + [e + 1].
namespace block {
constexpr int RegulationMode = 5; // bit 6 set = normal
constexpr int Analysis = 6;       // bits 2-3 weighting, bit 4 filter card
constexpr int Source = 7;         // bit 0 line, bits 2-3 weighting
constexpr int FirmwareMajor = 160;
constexpr int FirmwareMinor = 161;
constexpr int Attack = 2049;
constexpr int Release = 2051;
constexpr int OutputHalfStep = 2052;
constexpr int OutputReduction = 2053;
constexpr int FirstBand = 2055; // bands every second element
constexpr int LeqDay = 2176;
constexpr int LeqDayOpen = 2178;
constexpr int LeqNight = 2180;
constexpr int LeqNightOpen = 2182;
constexpr int LineRegulation = 2184;
constexpr int PublicLevel = 2186;
constexpr int SensorLevel = 2188;
constexpr int HourDayNight = 2191;
constexpr int HourNightDay = 2193;
constexpr int SerialFirst = 2360;
constexpr int SerialLast = 2367;
// "KVL 36": ring of 22 band-level entries of 8 elements, the newest entry's
// number (1..22) as tens and units.
constexpr int BandRingNewestUnits = 2370;
constexpr int BandRingNewestTens = 2371;
constexpr int BandRingFirst = 2373;
constexpr int BandRingEntrySize = 8;
constexpr int BandRingEntries = 22;
// RegulationMode, and field history::Regulation: bit 6 set = normal.
constexpr int RegulationNormalBit = 64;
// Analysis, field history::Analysis: bit 4 set = filter card present.
constexpr int FilterCardBit = 16;
// Analysis and Source (and their history fields): the weighting in bits 2-3,
// 0 or 4 flat; Source: bit 0 set = line input, clear = sensor.
constexpr int WeightingMask = 12;
constexpr int WeightingM = 8;
constexpr int WeightingA = 12;
constexpr int LineInputBit = 1;
// Elements below this one hold raw bytes; the rest are packed BCD.
constexpr int FirstBcd = 2047;
// Firmware 3.5: Param_Raw elements 0..511 land here, 512 and 513 on
// Analysis and Source.
constexpr int RawCopyFirst = 2048;
constexpr int RawCopyCount = 512;
} // namespace block

// A level (dB) the device keeps as two bytes, hundreds and units.
constexpr int levelOf(int hundreds, int units)
{
    return 100 * hundreds + units;
}

// The level held in two elements from `first` (hundreds, then units), in a
// Param_Block (element index) or a record row (field from 1).
template <typename Table> int blockLevel(const Table &block, int first)
{
    return levelOf(block[first], block[first + 1]);
}
template <typename Table> int recordLevel(const Table &table, int row, int first)
{
    return levelOf(table(row, first), table(row, first + 1));
}

// Fields of a Param_History record (from 1); levels are high/low pairs.
namespace history {
constexpr int Regulation = 7; // bit 6 set = normal (same byte as Analysis)
constexpr int Analysis = 7;
constexpr int Source = 8;
constexpr int Attack = 10;
constexpr int Release = 12;
constexpr int OutputHalfStep = 13;
constexpr int OutputReduction = 14;
constexpr int FirstBand = 16;
constexpr int LeqDay = 29;
constexpr int LeqDayOpen = 31;
constexpr int LeqNight = 33;
constexpr int LeqNightOpen = 35;
constexpr int LineRegulation = 37;
constexpr int PublicLevel = 39;
constexpr int SensorLevel = 41;
constexpr int HourDayNight = 44;
constexpr int HourNightDay = 46;
} // namespace history

// Device_Version values.
enum DeviceVersion : qint16 { Version35 = 3, Version40 = 4, Version5X = 5, VersionKvl36 = 70 };

constexpr bool isKnownVersion(int version)
{
    return version == Version35 || version == Version40 || version == Version5X || version == VersionKvl36;
}

// Firmware 5.X or "KVL 36": parameter history, Leq1/Leq10 records, transfer
// date, firmware digits in Param_Block.
constexpr bool isVersion5Family(int version)
{
    return version == Version5X || version == VersionKvl36;
}

// Table sizes of the store (the largest any version carries).
constexpr int LeqRowsMax = 8192;
constexpr int EventRows = 4096;
constexpr int HistoryRows = 682;
constexpr int HistoryFields = 48;
constexpr int RecordFields = 8;
constexpr int ParamBlockSize = 2560;
constexpr int ParamAnswerSize = 514; // firmware 3.5: answer to command 0x03 (Param_Raw)

// Memory images: sizes of the answer to command 0x01 and where the areas start.
constexpr int ImageSize35 = 65536;
constexpr int ImageSize40 = 100864;
constexpr int ImageSize5 = 133632;
constexpr int EventArea35 = 32768;
constexpr int EventArea = 65536; // firmware 4.0, 5.X, KVL 36
constexpr int HistoryArea5 = 98304;
constexpr int ParamArea40 = 98304;
constexpr int ParamArea5 = 131072;

// What differs between versions, in one row per version.
struct VersionLayout
{
    int leqRows = 0;     // Leq records carried (image, file, tables)
    int imageSize = 0;   // answer to command 0x01
    int eventArea = 0;   // first byte of the event records in the image
    int historyArea = 0; // first byte of Param_History, 0 when none
    int paramArea = 0;   // first byte of Param_Block, 0 for 3.5 (answer to 0x03)
};

constexpr VersionLayout versionLayout(int version)
{
    switch (version) {
    case Version35:
        return {4096, ImageSize35, EventArea35, 0, 0};
    case Version40:
        return {LeqRowsMax, ImageSize40, EventArea, 0, ParamArea40};
    case Version5X:
    case VersionKvl36:
        return {LeqRowsMax, ImageSize5, EventArea, HistoryArea5, ParamArea5};
    default:
        return {};
    }
}

// Leq rows of a version: fewer for firmware 3.5.
constexpr int leqRows(int version)
{
    return version == Version35 ? versionLayout(Version35).leqRows : LeqRowsMax;
}

} // namespace kvl
