#include "charts/frmGraphique_Leq.h"
#include "shell/AppHooks.h"
#include "shell/Forms.h"

namespace kvl {

void registerChartsForms()
{
    registerForm(QStringLiteral("frmGraphique_Leq"), [] { return new frmGraphique_Leq; });
}

} // namespace kvl
