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
    return memoryInto(store, memory, memory.lastDay.addDays(1));
}

bool memoryInto(kvl::Store &store, const DeviceMemory &memory, const QDate &transferDay)
{
    const int version = memory.version;
    store.Device_Version = qint16(version);
    store.Cancel_Flag = false;
    const kvl::ProgressFn none = [] {};
    if (!kvl::decodeImage(store, memory.decoderInput(), none))
        return false;
    kvl::Tri_Leq(store, none);
    kvl::Tri_Evenements(store, none);
    if (version == 5 || version == 70) {
        kvl::Tri_Historique(store, none);
        store.Transfer_Date = transferDay.toString(QStringLiteral("dd/MM/yyyy"));
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

namespace kvlsim {

std::vector<HistoryFile> historyDataFiles(int version, quint32 seed, int weeks, int everyWeeks)
{
    std::vector<HistoryFile> files;
    if (memorySize(version) == 0)
        return files;
    const DeviceHistory history = generateHistory(version, seed, weeks, everyWeeks);
    auto store = std::make_unique<kvl::Store>();
    for (std::size_t i = 0; i < history.downloads.size(); ++i) {
        const QDate day = history.downloadDays[i];
        if (!memoryInto(*store, history.downloads[i], day))
            break;
        files.push_back({QStringLiteral("download-%1-%2.kvl")
                             .arg(int(i + 1), 3, 10, QLatin1Char('0'))
                             .arg(day.toString(Qt::ISODate)),
                         kvl::buildDataFile(*store, version)});
    }
    return files;
}

} // namespace kvlsim
