#include "link/frmPort.h"
#include "link/frmWait.h"
#include "shell/AppHooks.h"

namespace kvl {

void registerLinkForms()
{
    registerForm(QStringLiteral("frmPort"), [] { return new frmPort; });
    registerForm(QStringLiteral("frmWait"), [] { return new frmWait; });
}

} // namespace kvl
