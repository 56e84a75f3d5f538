#include "SampleFile.h"

#include "Generator.h"
#include "files/DataFile.h"
#include "link/Decode.h"
#include "store/Names.h"
#include "store/Store.h"

#include <memory>

namespace kvlsim {

bool downloadInto(kvl::Store &store, int version, quint32 seed, int weeks)
{
    if (memorySize(version) == 0)
        return false;
    const DeviceMemory memory = generateDevice(version, seed, weeks);
    store.Device_Version = qint16(version);
    store.Cancel_Flag = false;
    const kvl::ProgressFn none = [] {};
    if (!kvl::decodeImage(store, memory.decoderInput(), none))
        return false;
    kvl::Tri_Leq(store, none);
    kvl::Tri_Evenements(store, none);
    if (version == 5 || version == 70) {
        kvl::Tri_Historique(store, none);
        store.Transfer_Date = memory.lastDay.addDays(1).toString(QStringLiteral("dd/MM/yyyy"));
        store.Transfer_Time = QStringLiteral("09:41:27");
    }
    kvl::Lire_Numero_Serie(store);
    store.Data_Loaded = true;
    return true;
}

QByteArray sampleDataFile(int version, quint32 seed, int weeks)
{
    auto store = std::make_unique<kvl::Store>();
    if (!downloadInto(*store, version, seed, weeks))
        return {};
    return kvl::buildDataFile(*store, version);
}

} // namespace kvlsim
