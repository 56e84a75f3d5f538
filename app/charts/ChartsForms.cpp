#include "charts/frmGraphique_Leq.h"
#include "charts/frmInGraphique.h"
#include "shell/AppHooks.h"
#include "shell/Forms.h"

namespace kvl {

void registerChartsForms()
{
    registerForm(QStringLiteral("frmInGraphique"), [] { return new frmInGraphique; });
    registerForm(QStringLiteral("frmInGraphique_v5"), [] { return new frmInGraphique_v5; });
    registerForm(QStringLiteral("frmGraphique_Leq"), [] { return new frmGraphique_Leq; });
}

} // namespace kvl
