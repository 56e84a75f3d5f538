#pragma once

#include "shell/Forms.h"
#include "tables/TableLines.h"
#include "tables/TablePrint.h"

class QGridLayout;
class QLabel;
class QListWidget;
class QPushButton;
class QVBoxLayout;

namespace kvl {

// What the three table windows share: the serial number line, the buttons
// New Chart, Print and Quit along the bottom, list filling and printing.
class TableForm : public Form
{
    Q_OBJECT
public:
    TableForm(const QString &name, bool *openFlag, const QString &caption, const QString &newCaption);

    // The pages Cmd_Print prints.
    virtual PrintDocument printLayout() const = 0;

    // Cmd_Print: asks for a printer and prints; nothing when cancelled.
    // False when nothing was printed.
    bool Cmd_Print_Click();
    void Cmd_New_Tableau_Click();
    void Cmd_Exit_Click();

protected:
    // A fixed text under a list.
    QLabel *addNote(const QString &name, const QString &text, QVBoxLayout *layout);
    // Adds the buttons at the bottom of the window (call last).
    void addButtons();
    // Fills a list with lines (8 points) or an empty-period message (12 points bold).
    static void fillList(QListWidget *list, const ListText &text);
    static QListWidget *makeList(const QString &name);
    static QLabel *makeLabel(const QString &name, int pointSize, bool bold);
    // No line to print: Cmd_Print hidden, Cmd_New_Tableau moved into its place.
    void setPrintable(bool printable);
    static QStringList itemsOf(const QListWidget *list);

    QVBoxLayout *m_layout = nullptr;
    QLabel *m_serial = nullptr;

private:
    QGridLayout *m_buttons = nullptr;
    QPushButton *m_new = nullptr;
    QPushButton *m_print = nullptr;
    QPushButton *m_exit = nullptr;
    QString m_newCaption;
};

} // namespace kvl
