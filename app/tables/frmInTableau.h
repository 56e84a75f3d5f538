#pragma once

#include "shell/Forms.h"
#include "store/Store.h"

#include <QDate>

class QDateEdit;
class QPushButton;

namespace kvl {

// The period dialog of the tables: start and end day, both included.
class frmInTableau : public Form
{
    Q_OBJECT
public:
    frmInTableau();

    // Ok: checks the period and opens the requested table. False when the
    // period was refused and the dialog stays open.
    bool Cmd_Ok_Click();
    void Cmd_Annuler_Click();

    // The table window Ok opens for a requested view and device version
    // ("" when the view is no table).
    static QString tableFor(RequestedView requestedView, int deviceVersion);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void storeStart(const QDate &date);
    void storeEnd(const QDate &date);

    QDateEdit *m_start = nullptr;
    QDateEdit *m_end = nullptr;
    QPushButton *m_ok = nullptr;
};

} // namespace kvl
