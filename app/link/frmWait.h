#pragma once

#include "link/Progress.h"
#include "shell/Forms.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace kvl {

// "Data Transfer in progress ...": the three progress bars of a download
// and its Cancel button. Closing it in any way stops the download.
class frmWait : public Form
{
    Q_OBJECT
public:
    frmWait();

    // One progress step of the download.
    void Avancer_Progression();
    // End of reception: the transmission bar to its maximum minus 1.
    void setTransmissionNearlyFull();
    // A wait the bars cannot show (the line still busy); "" hides it.
    void setLineStatus(const QString &text);

    const TransferProgress &progress() const { return m_progress; }

protected:
    void formUnload() override;

private:
    void refresh();

    TransferProgress m_progress;
    QLabel *m_labelTransmission, *m_labelClassement, *m_labelTraitement, *m_labelPourcentage;
    QProgressBar *m_barTransmission, *m_barClassement, *m_barTraitement;
    QLabel *m_transmitOk, *m_classementOk;
    QLabel *m_lineStatus;
};

} // namespace kvl
