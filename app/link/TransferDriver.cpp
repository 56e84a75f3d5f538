#include "link/TransferDriver.h"

#include "shell/Forms.h"
#include "store/Store.h"

#include <QTimer>

namespace kvl {

// Placeholder until the serial transfer lands: behaves like a device that never answers.
void startTransfer(std::function<void()> done)
{
    QTimer::singleShot(0, [done = std::move(done)] {
        Store &s = appStore();
        s.Data_Loaded = false;
        s.Cancel_Flag = true;
        s.Transfer_Error = 3;
        done();
    });
}

} // namespace kvl
