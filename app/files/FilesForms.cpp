#include "files/frmData_Type.h"
#include "files/frmWait_Save.h"
#include "shell/AppHooks.h"
#include "store/Store.h"

namespace kvl {

void registerFilesForms()
{
    registerForm(QStringLiteral("frmData_Type"), [] { return new frmData_Type(); });
    registerForm(QStringLiteral("frmWait_Save"), [] { return new frmWait_Save(appStore().Device_Version); });
}

} // namespace kvl
