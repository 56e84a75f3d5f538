#pragma once

#include "tables/TableForm.h"

namespace kvl {

// The 10-minute Leq records of the stored period, firmware 3.5 and 4.0.
class frmTableau_Leq : public TableForm
{
    Q_OBJECT
public:
    frmTableau_Leq();
    PrintDocument printLayout() const override;

private:
    QLabel *m_entete = nullptr;
    QListWidget *m_list = nullptr;
    bool m_hasRows = false;
};

} // namespace kvl
