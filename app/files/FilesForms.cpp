#include "shell/AppHooks.h"

namespace kvl {

void registerFilesForms()
{
}

} // namespace kvl

#include "shell/Seams.h"

namespace kvl {

void Sauvegarde_Fichier(int, int)
{
    showMessage(QStringLiteral("Saving data files is not available in this build yet."),
                QStringLiteral("ORLIN Analysis Software"), MsgIcon::Information);
}

} // namespace kvl
