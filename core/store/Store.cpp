#include "store/Store.h"

namespace kvl {

Store::Store()
{
    initialise();
}

void Store::initialise()
{
    Com_Port = 0;
    Requested_View.clear();
    Device_Version = Version5X;
    Chart_Days = 1;
    for (auto &day : Chart_Dates)
        for (auto &text : day)
            text = QStringLiteral("0");
    Seuils_Prets = false;
}

} // namespace kvl
