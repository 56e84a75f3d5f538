// libFuzzer target for the data file loader: any byte sequence must give a
// loaded store or a message, never a crash, a hang or a write out of range.

#include "files/DataFile.h"
#include "store/Store.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static kvl::Store store;
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const kvl::LoadOutcome out = kvl::readDataFile(bytes, store);
    const bool loaded = out.result == kvl::LoadOutcome::Loaded;
    // The outcome and the store agree, and every failure has its message.
    if (loaded != store.Data_Loaded || (!loaded && (out.text.isEmpty() || out.caption.isEmpty())))
        std::abort();
    if (loaded && kvl::versionOfMarker(kvl::writtenMarker(store.Device_Version)) != store.Device_Version)
        std::abort();
    return 0;
}
