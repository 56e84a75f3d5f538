#pragma once

#include "shell/Forms.h"

class QDateEdit;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QVBoxLayout;

namespace kvl {

// What both chart dialogs share: the start day, the chart length, the
// midday note, Ok and Cancel. Ok stores the period and opens the chart.
class ChartDialog : public Form
{
    Q_OBJECT
public:
    // Ok: false when a value was refused and the dialog stays open.
    bool Cmd_Ok_Click();
    void Cmd_Annuler_Click();

protected:
    ChartDialog(const QString &name, bool *openFlag, const QString &caption, const QString &lengthCaption);
    // The dialog's own checks and values; false keeps the dialog open.
    virtual bool checkValues() { return true; }
    virtual void storeValues() {}
    // Adds the dialog's own groups below the date and the length.
    QVBoxLayout *body() const { return m_body; }
    void keyPressEvent(QKeyEvent *event) override;

private:
    int chosenDays() const;

    QVBoxLayout *m_body = nullptr;
    QDateEdit *m_picker = nullptr;
    QRadioButton *m_days[3] = {};
};

// Firmware 3.5 and 4.0: also the thresholds and switching hours, the
// device's own or typed by the user.
class frmInGraphique : public ChartDialog
{
    Q_OBJECT
public:
    frmInGraphique();
    void Cmd_Change_Parametres_Click();

protected:
    bool checkValues() override;
    void storeValues() override;

private:
    void showDeviceValues();

    QPushButton *m_change = nullptr;
    QLineEdit *m_boxes[4] = {};
    int m_values[4] = {};
};

// Firmware 5.X and "KVL 36": the analysis takes thresholds and hours from
// the device's history.
class frmInGraphique_v5 : public ChartDialog
{
    Q_OBJECT
public:
    frmInGraphique_v5();
};

} // namespace kvl
