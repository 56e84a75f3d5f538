#include "link/Progress.h"

#include "store/Store.h"

namespace kvl {

void TransferProgress::reset(int deviceVersion)
{
    transmission = classement = traitement = ProgressBarValue{};
    switch (deviceVersion) {
    case Version35:
        transmission.maximum = 24.001;
        classement.maximum = 103.001;
        traitement.maximum = 127.001;
        break;
    case Version40:
        transmission.maximum = 37.001;
        classement.maximum = 151.001;
        traitement.maximum = 188.001;
        break;
    case Version5X:
    case VersionKvl36:
        transmission.maximum = 55.001;
        classement.maximum = 164.001;
        traitement.maximum = 219.001;
        break;
    default:
        break;
    }
    for (ProgressBarValue *bar : {&transmission, &classement, &traitement})
        bar->value = bar->minimum;
    transmitOkVisible = classementOkVisible = false;
    labelTransmission = QStringLiteral("Transmission in progress ...");
    labelClassement = QStringLiteral("Waiting the end of transmission ...");
    labelTraitement = QStringLiteral(" Data Processing in progress ...");
    labelPourcentage = QStringLiteral("Data processing at 00 %.");
}

void TransferProgress::Avancer_Progression(Store &store)
{
    ProgressBarValue &t = transmission;
    ProgressBarValue &c = classement;
    ProgressBarValue &p = traitement;
    ++store.Progress_Step;

    if (t.val() < t.max() && c.val() == c.min())
        t.value = t.val() + 1;
    if (t.val() == t.max() && c.val() == c.min()) {
        labelTransmission = QStringLiteral("Transmission Completed !!!");
        transmitOkVisible = true;
        labelClassement = QStringLiteral("Data Filing ...");
        c.value = c.value + 1;
    }
    if (t.val() == t.max() && c.val() > c.min() && c.val() < c.max())
        c.value = c.value + 1;
    if (c.val() == c.max()) {
        labelClassement = QStringLiteral("Filing Completed  !!!");
        classementOkVisible = true;
    }
    p.value = c.val() + t.val();
    labelPourcentage = percentageText();
}

QString TransferProgress::percentageText() const
{
    const int maximum = traitement.max();
    const int percent = maximum > 0 ? traitement.val() * 100 / maximum : 0;
    QString text = QString::number(percent);
    if (percent < 10)
        text.prepend(QLatin1Char('0'));
    return QStringLiteral("Data filing Realized at ") + text + QStringLiteral(" %.");
}

} // namespace kvl
