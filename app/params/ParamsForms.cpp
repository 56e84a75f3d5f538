#include "params/frmParametres_v4.h"
#include "shell/AppHooks.h"

namespace kvl {

void registerParamsForms()
{
    registerForm(QStringLiteral("frmParametres_v4"), [] { return new frmParametres_v4(appStore()); });
}

} // namespace kvl
