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
// Firmware 3.5: Param_Raw elements 0..511 land here, 512 and 513 on
// Analysis and Source.
constexpr int RawCopyFirst = 2048;
} // namespace block

// Fields of a Param_History record (from 1); levels are high/low pairs.
namespace history {
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

} // namespace kvl
