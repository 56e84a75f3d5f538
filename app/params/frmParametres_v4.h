#pragma once

#include "params/ParamSheet.h"
#include "shell/Forms.h"

class QComboBox;
class QLabel;
class QPaintDevice;
class QPushButton;

namespace kvl {

// Object names of the sheet's band captions and band values, 63 Hz .. 4 kHz.
extern const std::array<const char *, 7> BandCaptionNames;
extern const std::array<const char *, 7> BandValueNames;

// (object name, text) of every label of the sheet to set, null texts left out.
QList<std::pair<QString, QString>> sheetLabels(const SheetTexts &texts);

// The parameter sheet: the device's current parameters and, for firmware
// 5.X and the "KVL 36", those of a dated parameter record chosen in
// Combo_Jour. Reads the program's store only when it loads.
class frmParametres_v4 : public Form
{
    Q_OBJECT
public:
    explicit frmParametres_v4(Store &store);

    // Combo_Jour click: shows the period of list entry index.
    void Combo_Jour_Click(int index);
    void Cmd_Print_Click();
    void Cmd_Exit_Click();

    // Prints the sheet as an image of itself on white, without its buttons
    // and selector, across the printable width. False when the printer could
    // not be started; the sheet is back as it was in any case.
    bool printSheet(QPaintDevice &printer);

    bool filterCardPresent() const { return m_filterCardPresent; }
    QString currentPeriodText() const { return m_currentPeriodText; }

private:
    void buildControls();
    void showTexts(const SheetTexts &texts);
    void fillPeriodSelector();
    void SetSheetColour(const QColor &colour);
    void restoreAfterPrint();

    Store &m_store;
    PeriodList m_periods;
    bool m_filterCardPresent = false;
    QString m_currentPeriodText;

    QLabel *m_entete = nullptr;
    QLabel *m_date = nullptr;
    QComboBox *m_combo = nullptr;
    QPushButton *m_print = nullptr;
    QPushButton *m_exit = nullptr;
    QLabel *m_correlationCaption = nullptr;
    QLabel *m_correlation = nullptr;
};

} // namespace kvl
