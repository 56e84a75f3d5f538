#pragma once

#include "export/Export.h"
#include "shell/Forms.h"

class QDateEdit;
class QPushButton;
class QRadioButton;

namespace kvl {

// The report dialog: a day, a week, a month or a period of up to 62 days,
// then the PDF file's name; the report is written with a progress window.
class frmInRapport : public Form
{
    Q_OBJECT
public:
    frmInRapport();

    // Ok: checks the period, asks for the file and writes the report. False
    // when the dialog stays open (period refused, file dialog cancelled,
    // report not written).
    bool Cmd_Ok_Click();
    void Cmd_Annuler_Click();

private:
    void spanChanged();

    QRadioButton *m_day = nullptr, *m_week = nullptr, *m_month = nullptr, *m_fromTo = nullptr;
    QDateEdit *m_start = nullptr;
    QDateEdit *m_end = nullptr;
};

// Asks for the PDF's path (a name of serial number and period proposed) and
// writes the report of the store for the period. False when cancelled or
// not written (the user was told why).
bool writeReport(QWidget *parent, const Store &store, const DateRange &period);

} // namespace kvl
