#pragma once

#include "tables/TableForm.h"

namespace kvl {

// The events of the stored period, one line per event.
class frmTableau_Evenements : public TableForm
{
    Q_OBJECT
public:
    frmTableau_Evenements();
    PrintDocument printLayout() const override;

private:
    QLabel *m_entete = nullptr;
    QListWidget *m_list = nullptr;
    bool m_hasRows = false;
    bool m_singleDay = false;
};

} // namespace kvl
