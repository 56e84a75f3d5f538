#pragma once

#include "shell/Forms.h"
#include "store/Store.h"

#include <functional>

class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace kvl {

// "Analysis Data": where the data of the requested view comes from (the data
// already in the store, a data file, or a new download), and the driver that
// fills the store and opens the view.
class frmData_Type : public Form
{
    Q_OBJECT
public:
    frmData_Type();

    void Cmd_Search_Click();
    void Cmd_Ok_Click();
    void Cmd_Annuler_Click() { close(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void transferEnded();
    void openRequestedView(bool setChartDefaults);

    QGroupBox *m_frame;
    QRadioButton *m_lastData;
    QRadioButton *m_newSave;
    QRadioButton *m_newTransfer;
    QLineEdit *m_fileName;
    QPushButton *m_search;
    QPushButton *m_ok;
    QPushButton *m_cancel;
};

// How the download starts: startTransfer in the program; tests install a
// double that sets the store as a transfer would. An empty function restores it.
using TransferStarter = std::function<void(std::function<void()> done)>;
void setTransferStarter(TransferStarter starter);

// Sets the Leq chart dialog's defaults from the parameter area and the chart
// length to one day.
void setChartDefaults(Store &store);

// The first window of a view for a device version ("" for an unknown view).
QString firstWindowOfView(RequestedView requestedView, int version);

} // namespace kvl
