#pragma once

// kvl-sim on a pseudo-terminal as the program's COM 1.

#include "StoreCheck.h"

#include <QProcess>
#include <QStringList>

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

} // namespace kvl::test
