#pragma once

// Data files made from a simulated device, through the program's own
// decoder and writer (the files in samples/ are made this way).

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QtGlobal>

#include <vector>

namespace kvl {
struct Store;
}

namespace kvlsim {

// Fills the store as a completed download of the generated device would:
// decoded, validated and sorted; for firmware 5.X and KVL 36 the transfer
// date and time are the morning after the last day. False for an unknown
// version.
bool downloadInto(kvl::Store &store, int version, quint32 seed, int weeks);

struct DeviceMemory;
// The same for a memory image downloaded on a day.
bool memoryInto(kvl::Store &store, const DeviceMemory &memory, const QDate &transferDay);

// The data file of that download; empty for an unknown version.
QByteArray sampleDataFile(int version, quint32 seed, int weeks);

// The data files of a device's successive downloads (see generateHistory),
// named download-001-2026-09-15.kvl and so on.
struct HistoryFile
{
    QString name;
    QByteArray bytes;
};
std::vector<HistoryFile> historyDataFiles(int version, quint32 seed, int weeks, int everyWeeks);

} // namespace kvlsim
