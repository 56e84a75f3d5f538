#include "link/PortChoice.h"

#include "store/Store.h"

namespace kvl {

namespace {
int g_chosen = 0;
}

void choosePortVersion(Store &store, int version)
{
    g_chosen = version;
    if (!store.Data_Loaded)
        store.Device_Version = qint16(version);
}

int downloadVersion(const Store &store)
{
    return g_chosen != 0 ? g_chosen : store.Device_Version;
}

void forgetPortVersion()
{
    g_chosen = 0;
}

} // namespace kvl
