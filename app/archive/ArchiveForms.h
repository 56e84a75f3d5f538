#pragma once

// The archive's windows: importing data files, and the list of devices.

#include "archive/Archive.h"
#include "shell/Forms.h"

#include <QStringList>
#include <QTimer>

class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace kvl {

// "Import files...": asks for the files when it opens, then imports them
// one per timer tick, so the bar moves and Cancel answers between files.
class frmArchive_Import : public Form
{
    Q_OBJECT
public:
    frmArchive_Import();
    // Starts on the given files (the file dialog's answer); `run` false
    // leaves each step to importNext (tests).
    void start(const QStringList &files, bool run = true);
    // Imports the next file; the last one ends the import.
    void importNext();
    void Cmd_Annuler_Click();
    bool isRunning() const { return m_next < m_files.size(); }

private:
    void finish(bool cancelled);

    QLabel *m_file;
    QProgressBar *m_bar;
    QPushButton *m_cancel;
    QTimer m_timer;
    QStringList m_files;
    int m_next = 0;
    int m_imported = 0, m_already = 0, m_newRecords = 0;
    QStringList m_failures;
};

// "Devices": every device of the archive, and removing one.
class frmArchive_Devices : public Form
{
    Q_OBJECT
public:
    frmArchive_Devices();
    void refresh();
    void Cmd_Supprimer_Click();

private:
    QTableWidget *m_list;
    QPushButton *m_remove;
    QList<ArchiveDevice> m_devices;
};

// The import's closing message.
QString importSummaryText(int files, int imported, int already, int newRecords, const QStringList &failures,
                          bool cancelled);

} // namespace kvl
