#pragma once

// Data files made from a simulated device, through the program's own
// decoder and writer (the files in samples/ are made this way).

#include <QByteArray>
#include <QtGlobal>

namespace kvl {
struct Store;
}

namespace kvlsim {

// Fills the store as a completed download of the generated device would:
// decoded, validated and sorted; for firmware 5.X and KVL 36 the transfer
// date and time are the morning after the last day. False for an unknown
// version.
bool downloadInto(kvl::Store &store, int version, quint32 seed, int weeks);

// The data file of that download; empty for an unknown version.
QByteArray sampleDataFile(int version, quint32 seed, int weeks);

} // namespace kvlsim
