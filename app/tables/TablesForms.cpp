#include "shell/AppHooks.h"
#include "shell/Forms.h"
#include "tables/frmInTableau.h"
#include "tables/frmTableau_Evenements.h"
#include "tables/frmTableau_Leq.h"
#include "tables/frmTableau_Leq_V5.h"

namespace kvl {

void registerTablesForms()
{
    registerForm(QStringLiteral("frmInTableau"), [] { return new frmInTableau; });
    registerForm(QStringLiteral("frmTableau_Evenements"), [] { return new frmTableau_Evenements; });
    registerForm(QStringLiteral("frmTableau_Leq"), [] { return new frmTableau_Leq; });
    registerForm(QStringLiteral("frmTableau_Leq_V5"), [] { return new frmTableau_Leq_V5; });
}

} // namespace kvl
