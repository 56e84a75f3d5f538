#include "charts/frmInGraphique.h"

namespace kvl {

frmInGraphique_v5::frmInGraphique_v5()
    : ChartDialog(QStringLiteral("frmInGraphique_v5"), &openFlags().Open_frmInGraphique_v5,
                  QStringLiteral(" Leq Level Diagram Parameters "), QStringLiteral("Analysis Time :"))
{
}

} // namespace kvl
