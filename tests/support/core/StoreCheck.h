#pragma once

// The check of a store against the memory of a simulated device.

#include "Generator.h"

#include <QString>

namespace kvl {
struct Store;
}

namespace kvl::test {

// The first difference between a downloaded store and the device's memory;
// empty when the store holds exactly what the device held.
QString storeMismatch(const Store &s, const kvlsim::DeviceMemory &mem);

} // namespace kvl::test
