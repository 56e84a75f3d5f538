#include "archive/ArchiveForms.h"

#include "archive/AppArchive.h"
#include "shell/AppHooks.h"
#include "shell/Seams.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kvl {

namespace {

const QString Caption = QStringLiteral("Device archive");
const QString FileFilter = QStringLiteral("KVL 24-2 save (*.kvl)|*.kvl");

QString dayText(const QDate &d)
{
    return d.isValid() ? d.toString(QStringLiteral("dd/MM/yyyy")) : QString();
}

} // namespace

void registerArchiveForms()
{
    registerForm(QStringLiteral("frmArchive_Import"), [] {
        auto *form = new frmArchive_Import;
        const std::optional<QStringList> files = dialogs().openFiles(form, FileFilter);
        // Started once shown, so the window paints before the first file.
        QTimer::singleShot(0, form, [form, files] {
            if (files && !files->isEmpty())
                form->start(*files);
            else
                form->close();
        });
        return form;
    });
    registerForm(QStringLiteral("frmArchive_Devices"), [] { return new frmArchive_Devices; });
}

QString importSummaryText(int files, int imported, int already, int newRecords, const QStringList &failures,
                          bool cancelled)
{
    QString text =
        QStringLiteral("%1 of %2 files imported, %3 new records.").arg(imported).arg(files).arg(newRecords);
    if (already > 0)
        text += QStringLiteral(" %1 already in the archive.").arg(already);
    if (!failures.isEmpty())
        text += QStringLiteral(" %1 could not be imported.").arg(failures.size());
    if (cancelled)
        text += QStringLiteral(" Cancelled: the other files were not imported.");
    return text;
}

frmArchive_Import::frmArchive_Import() : Form(QStringLiteral("frmArchive_Import"), nullptr, false)
{
    setWindowTitle(QStringLiteral("Import into the archive"));
    m_file = new QLabel(this);
    m_file->setObjectName(QStringLiteral("Label_Fichier"));
    m_bar = new QProgressBar(this);
    m_bar->setObjectName(QStringLiteral("ProgressBar_Import"));
    m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("Cmd_Annuler"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_file);
    layout->addWidget(m_bar);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_cancel);
    layout->addLayout(buttons);
    setMinimumWidth(twips(6000));
    connect(m_cancel, &QPushButton::clicked, this, &frmArchive_Import::Cmd_Annuler_Click);
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, &frmArchive_Import::importNext);
}

void frmArchive_Import::start(const QStringList &files, bool run)
{
    if (isUnloaded())
        return;
    if (!appArchive()) {
        close();
        return;
    }
    m_files = files;
    m_next = 0;
    m_bar->setRange(0, int(files.size()));
    m_bar->setValue(0);
    if (run)
        m_timer.start();
}

void frmArchive_Import::importNext()
{
    Archive *archive = appArchive();
    if (!archive || m_next >= m_files.size()) {
        finish(false);
        return;
    }
    const QString path = m_files[m_next++];
    m_file->setText(QFileInfo(path).fileName());
    const ImportResult r = archive->importFile(path);
    if (r.status == ArchiveStatus::Ok && r.alreadyImported)
        ++m_already;
    else if (r.status == ArchiveStatus::Ok) {
        ++m_imported;
        m_newRecords += r.newRecords;
    } else {
        const QString why =
            r.detail.isEmpty() || r.status != ArchiveStatus::Failed ? archiveStatusText(r.status) : r.detail;
        m_failures << QFileInfo(path).fileName() + QStringLiteral(": ") + why;
    }
    m_bar->setValue(m_next);
    if (m_next >= m_files.size())
        finish(false);
}

void frmArchive_Import::Cmd_Annuler_Click()
{
    if (isRunning())
        finish(true);
    else
        close();
}

void frmArchive_Import::finish(bool cancelled)
{
    m_timer.stop();
    const QString text =
        importSummaryText(int(m_files.size()), m_imported, m_already, m_newRecords, m_failures, cancelled);
    close();
    showMessage(text, Caption, m_failures.isEmpty() ? MsgIcon::Information : MsgIcon::Exclamation,
                m_failures.join(QLatin1Char('\n')));
}

frmArchive_Devices::frmArchive_Devices() : Form(QStringLiteral("frmArchive_Devices"), nullptr, true)
{
    setWindowTitle(QStringLiteral("Archive devices"));
    m_list = new QTableWidget(this);
    m_list->setObjectName(QStringLiteral("List_Appareils"));
    m_list->setColumnCount(6);
    m_list->setHorizontalHeaderLabels({QStringLiteral("Model"), QStringLiteral("Serial number"),
                                       QStringLiteral("First day"), QStringLiteral("Last day"),
                                       QStringLiteral("Imports"), QStringLiteral("Records")});
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->verticalHeader()->hide();
    m_list->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_list->horizontalHeader()->setStretchLastSection(true);
    m_remove = new QPushButton(QStringLiteral("Remove..."), this);
    m_remove->setObjectName(QStringLiteral("Cmd_Supprimer"));
    auto *close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("Cmd_Annuler"));
    auto *path = new QLabel(archivePath(), this);
    path->setObjectName(QStringLiteral("Label_Archive"));
    path->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(path);
    layout->addWidget(m_list, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_remove);
    buttons->addStretch(1);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    // Room for the six columns without scrolling.
    setMinimumSize(twips(9600), twips(4800));
    connect(m_remove, &QPushButton::clicked, this, &frmArchive_Devices::Cmd_Supprimer_Click);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(m_list, &QTableWidget::itemSelectionChanged, this,
            [this] { m_remove->setEnabled(!m_list->selectedItems().isEmpty()); });
    refresh();
}

void frmArchive_Devices::refresh()
{
    Archive *archive = appArchive();
    m_devices = archive ? archive->devices() : QList<ArchiveDevice>();
    m_list->setRowCount(int(m_devices.size()));
    for (int r = 0; r < m_devices.size(); ++r) {
        const ArchiveDevice &d = m_devices[r];
        const QStringList cells = {deviceModelText(d.version), d.serial,
                                   dayText(d.first),           dayText(d.last),
                                   QString::number(d.imports), QString::number(d.records)};
        for (int c = 0; c < cells.size(); ++c) {
            auto *item = new QTableWidgetItem(cells[c]);
            if (c >= 4)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_list->setItem(r, c, item);
        }
    }
    m_remove->setEnabled(false);
    if (!m_devices.isEmpty())
        m_list->selectRow(0);
}

void frmArchive_Devices::Cmd_Supprimer_Click()
{
    const int row = m_list->currentRow();
    Archive *archive = appArchive();
    if (row < 0 || row >= m_devices.size() || !archive)
        return;
    const ArchiveDevice d = m_devices[row];
    const QString question = QStringLiteral("Remove the %1 device %2 and its %3 records from the archive? "
                                            "This cannot be undone.")
                                 .arg(deviceModelText(d.version), d.serial)
                                 .arg(d.records);
    if (!askQuestion(question, Caption))
        return;
    if (archiveSessionDevice() == d.id)
        endArchiveSession();
    const ArchiveStatus status = archive->removeDevice(d.id);
    if (status != ArchiveStatus::Ok)
        showMessage(archiveStatusText(status), Caption, MsgIcon::Exclamation, archive->lastError());
    refresh();
}

} // namespace kvl
