#include "shell/AppHooks.h"

namespace kvl {

void registerAllForms()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    registerLinkForms();
    registerFilesForms();
    registerTablesForms();
    registerParamsForms();
    registerChartsForms();
    registerReportForms();
}

} // namespace kvl
