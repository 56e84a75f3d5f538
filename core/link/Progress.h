#pragma once

// The arithmetic of the download progress window: three bars (transmission,
// filing, whole) and their texts, advanced one step at a time.

#include <QString>

namespace kvl {

struct Store;

struct ProgressBarValue
{
    double minimum = 0;
    double maximum = 100;
    double value = 0;
    // Bars compare their whole parts only, so the extra 0.001 never counts.
    int max() const { return int(maximum); }
    int min() const { return int(minimum); }
    int val() const { return int(value); }
};

class TransferProgress
{
public:
    // The window's load: maxima of the version, values at their minimum,
    // the initial texts.
    void reset(int deviceVersion);

    // One progress step; adds 1 to Progress_Step.
    void Avancer_Progression(Store &store);

    // End of reception: the transmission bar one short of full, so the next
    // step completes it.
    void setTransmissionNearlyFull() { transmission.value = transmission.maximum - 1; }

    // "Data filing Realized at 07 %." style percentage text of the whole bar.
    QString percentageText() const;

    ProgressBarValue transmission, classement, traitement;
    QString labelTransmission, labelClassement, labelTraitement, labelPourcentage;
    bool transmitOkVisible = false;
    bool classementOkVisible = false;
};

} // namespace kvl
