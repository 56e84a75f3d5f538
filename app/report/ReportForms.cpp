#include "report/frmInRapport.h"
#include "shell/AppHooks.h"

namespace kvl {

void registerReportForms()
{
    registerForm(QStringLiteral("frmInRapport"), [] { return new frmInRapport; });
}

} // namespace kvl
