#pragma once

#include "tables/TableForm.h"

class QBoxLayout;

namespace kvl {

// The Leq10 and Leq1 records of the stored period side by side, firmware
// 5.X and "KVL 36"; one above the other when the window is too narrow to
// show both lists' lines whole.
class frmTableau_Leq_V5 : public TableForm
{
    Q_OBJECT
public:
    frmTableau_Leq_V5();
    PrintDocument printLayout() const override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QBoxLayout *m_columns = nullptr;
    int m_lineWidth = 0;
    QLabel *m_entete10 = nullptr;
    QLabel *m_entete1 = nullptr;
    QListWidget *m_list10 = nullptr;
    QListWidget *m_list1 = nullptr;
    bool m_has10 = false;
    bool m_has1 = false;
};

} // namespace kvl
