#pragma once

// Builds the memory of a limiter as the device holds it: records in ring
// order with empty slots, BCD-encoded, from a seed so that runs repeat.

#include "store/Layout.h"

#include <QByteArray>
#include <QDate>
#include <QtGlobal>

#include <array>
#include <vector>

namespace kvlsim {

// A record as the store holds it once decoded; element 0 is field 1.
using LeqRow = std::array<qint16, 8>;
using EventRow = std::array<qint16, 8>;
using HistoryRow = std::array<qint16, 48>;

// Sizes of what the device sends.
constexpr int MemorySize35 = kvl::ImageSize35;
constexpr int ParamAnswerSize35 = kvl::ParamAnswerSize;
constexpr int MemorySize40 = kvl::ImageSize40;
constexpr int MemorySize5 = kvl::ImageSize5;

// The memory image of a device and what the program must make of it.
struct DeviceMemory
{
    int version = 5;
    // The answer to command 0x01.
    QByteArray image;
    // Firmware 3.5: the 514-byte answer to command 0x03; empty otherwise.
    QByteArray paramAnswer;

    // Valid records after decoding, in chronological order (records with
    // equal stamps in the order they stand in the device's ring).
    std::vector<LeqRow> leq;
    std::vector<EventRow> events;
    std::vector<HistoryRow> history;
    // Param_Block (2560) and, for firmware 3.5, Param_Raw (514) as decoded.
    std::vector<qint16> paramBlock;
    std::vector<qint16> paramRaw;

    // Count of Leq1 and Leq10 records among `leq` (firmware 5.X, KVL 36).
    int leq1Count = 0;
    int leq10Count = 0;
    // First and last day covered.
    QDate firstDay, lastDay;

    // What the program's decoder takes: the image, then (3.5) the answer.
    QByteArray decoderInput() const { return image + paramAnswer; }
};

// The successive downloads of one device running for `weeks`, downloaded
// every `everyWeeks` weeks: each image is the ring memory as it stood that
// morning, the oldest records overwritten, with the same serial number,
// the parameters in force and the clock set back and forth for summer time.
struct DeviceHistory
{
    std::vector<DeviceMemory> downloads;
    std::vector<QDate> downloadDays;
    // Every valid record the device made up to the last download, in the
    // order it made them.
    std::vector<LeqRow> leq;
    std::vector<EventRow> events;
    std::vector<HistoryRow> history;
};
DeviceHistory generateHistory(int version, quint32 seed, int weeks, int everyWeeks);

// Versions: 3 (firmware 3.5), 4 (4.0), 5 (5.X), 70 (KVL 36). weeks >= 1.
DeviceMemory generateDevice(int version, quint32 seed, int weeks);

// The bytes the decoder takes (firmware 3.5: 65536-byte image followed by
// the 514-byte parameter answer).
QByteArray generateImage(int version, quint32 seed, int weeks);

// Size of the answer to command 0x01 for a version; 0 when unknown.
int memorySize(int version);

// Packed BCD of 0..99.
inline quint8 toBcd(int v)
{
    return quint8(((v / 10) << 4) | (v % 10));
}

} // namespace kvlsim
