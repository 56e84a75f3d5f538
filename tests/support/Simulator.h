#pragma once

// kvl-sim on a pseudo-terminal as the program's COM 1, the check of a
// store against the memory of the simulated device, and the download tests'
// input rows.

#include "Generator.h"

#include <QProcess>
#include <QStringList>

namespace kvl {
struct Store;
}

namespace kvl::test {

class Simulator
{
public:
    ~Simulator();
    // Starts kvl-sim for a `version` device with `args` and sets up a fresh
    // program store to download from it on COM 1.
    bool start(int version, const QStringList &args);
    // What the simulated device holds (its --seed and --weeks).
    kvlsim::DeviceMemory memory() const;

private:
    QProcess m_process;
};

// The first difference between a downloaded store and the device's memory;
// empty when the store holds exactly what the device held.
QString storeMismatch(const Store &s, const kvlsim::DeviceMemory &mem);

} // namespace kvl::test
