#include "archive/AppArchive.h"

#include "files/DataFile.h"
#include "shell/Forms.h"
#include "shell/Seams.h"
#include "shell/frmMain.h"
#include "store/Store.h"
#include "tables/RecordedSpan.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QSettings>
#include <QStandardPaths>

#include <memory>

namespace kvl {

namespace {

const QString Caption = QStringLiteral("Device archive");

QSettings settings()
{
    return QSettings(QStringLiteral("ORLIN"), QStringLiteral("kvl-analysis"));
}

struct State
{
    std::unique_ptr<Archive> archive;
    QString openedPath;
    // The file whose failure was said already: once, not at every download.
    QString failedPath;
    qint64 sessionDevice = 0;
};

State &state()
{
    static State s;
    return s;
}

void sayFailure(ArchiveStatus status, const QString &detail)
{
    showMessage(archiveStatusText(status), Caption, MsgIcon::Exclamation,
                archivePath() + (detail.isEmpty() ? QString() : QStringLiteral("\n") + detail));
}

int deviceVersion(qint64 device)
{
    if (Archive *a = appArchive())
        for (const ArchiveDevice &d : a->devices())
            if (d.id == device)
                return d.version;
    return 0;
}

} // namespace

QString defaultArchivePath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .filePath(QStringLiteral("archive.sqlite"));
}

QString archivePath()
{
    // The environment first: tests and scripts never touch the user's archive.
    const QString fromEnvironment = qEnvironmentVariable("KVL_ARCHIVE");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    const QString chosen = settings().value(QStringLiteral("archive/path")).toString();
    return chosen.isEmpty() ? defaultArchivePath() : chosen;
}

void setArchivePath(const QString &path)
{
    settings().setValue(QStringLiteral("archive/path"), path);
    closeAppArchive();
    state().failedPath.clear();
}

bool archiveDownloads()
{
    return settings().value(QStringLiteral("archive/downloads"), true).toBool();
}

void setArchiveDownloads(bool on)
{
    settings().setValue(QStringLiteral("archive/downloads"), on);
}

Archive *appArchive()
{
    State &s = state();
    const QString path = archivePath();
    if (s.archive && s.openedPath == path)
        return s.archive.get();
    closeAppArchive();
    if (s.failedPath == path)
        return nullptr;
    QDir().mkpath(QFileInfo(path).absolutePath());
    auto archive = std::make_unique<Archive>();
    const ArchiveStatus status = archive->open(path);
    if (status != ArchiveStatus::Ok) {
        s.failedPath = path;
        sayFailure(status, archive->lastError());
        return nullptr;
    }
    s.archive = std::move(archive);
    s.openedPath = path;
    // Closed while Qt is still there, not by the static's destructor.
    static const bool closedAtExit = [] {
        qAddPostRoutine(closeAppArchive);
        return true;
    }();
    Q_UNUSED(closedAtExit);
    return s.archive.get();
}

Archive *existingAppArchive()
{
    return QFileInfo::exists(archivePath()) ? appArchive() : nullptr;
}

bool openArchiveDevice(Store &store, qint64 device)
{
    Archive *archive = appArchive();
    if (!archive)
        return false;
    for (const ArchiveDevice &d : archive->devices()) {
        if (d.id != device || !d.last.isValid())
            continue;
        // The newest day: the device's current parameters for the dialogs;
        // the period chosen there is loaded before the view opens.
        const ArchiveStatus status = archive->loadPeriod(device, d.last, d.last, store);
        if (status != ArchiveStatus::Ok) {
            sayFailure(status, archive->lastError());
            return false;
        }
        startArchiveSession(device);
        setMenuEnabled(QStringLiteral("mnuSave_As"), true);
        return true;
    }
    return false;
}

void closeAppArchive()
{
    State &s = state();
    s.archive.reset();
    s.openedPath.clear();
    s.sessionDevice = 0;
}

void archiveCompletedDownload(const Store &store)
{
    if (!archiveDownloads())
        return;
    Archive *archive = appArchive();
    if (!archive)
        return;
    const QByteArray image = buildDataFile(store, store.Device_Version);
    const ImportResult r = archive->importStore(store, {QStringLiteral("download"), sha256Hex(image)});
    if (r.status != ArchiveStatus::Ok)
        sayFailure(r.status, r.detail);
}

qint64 archiveSessionDevice()
{
    return state().sessionDevice;
}

void startArchiveSession(qint64 device)
{
    state().sessionDevice = device;
}

void endArchiveSession()
{
    state().sessionDevice = 0;
}

RecordedSpan recordedSpanForDialogs(const Store &store, RecordedData which)
{
    const qint64 device = archiveSessionDevice();
    if (device != 0 && appArchive())
        for (const ArchiveDevice &d : appArchive()->devices())
            if (d.id == device)
                return RecordedSpan{d.first, d.last};
    return recordedSpan(store, which);
}

QString recordedDataTextForDialogs(const Store &store, RecordedData which)
{
    return recordedDataText(recordedSpanForDialogs(store, which));
}

QString periodTooLongText(const QDate &from, const QDate &to, const PeriodFit &fit, int version)
{
    const QString format = QStringLiteral("dd/MM/yyyy");
    QString text =
        QStringLiteral("The period from %1 to %2 holds more records than a view can take "
                       "(%3 Leq records, %4 events, %5 parameter records at most; it holds %6, %7, %8).")
            .arg(from.toString(format), to.toString(format))
            .arg(leqRows(version))
            .arg(EventRows)
            .arg(HistoryRows)
            .arg(fit.leq)
            .arg(fit.events)
            .arg(fit.history);
    if (fit.longestEnd.isValid())
        text += QStringLiteral(" The longest period from %1 that fits ends on %2.")
                    .arg(from.toString(format), fit.longestEnd.toString(format));
    return text;
}

bool loadArchivePeriod(Store &store, const QDate &from, const QDate &to)
{
    const qint64 device = archiveSessionDevice();
    if (device == 0)
        return true;
    Archive *archive = appArchive();
    if (!archive)
        return false;
    PeriodFit fit;
    const ArchiveStatus status = archive->loadPeriod(device, from, to, store, &fit);
    if (status == ArchiveStatus::Ok)
        return true;
    if (!fit.fits && fit.leq + fit.events + fit.history > 0)
        showMessage(periodTooLongText(from, to, fit, deviceVersion(device)), Caption, MsgIcon::Exclamation);
    else
        sayFailure(status, archive->lastError());
    return false;
}

QString deviceModelText(int version)
{
    switch (version) {
    case Version35:
        return QStringLiteral("KVL 24-2 3.5");
    case Version40:
        return QStringLiteral("KVL 24-2 4.0");
    case Version5X:
        return QStringLiteral("KVL 24-2 5.X");
    case VersionKvl36:
        return QStringLiteral("KVL 36 1.X");
    default:
        return QString::number(version);
    }
}

QMenu *makeArchiveMenu(QWidget *parent)
{
    auto *menu = new QMenu(QStringLiteral("A&rchive"), parent);
    menu->setObjectName(QStringLiteral("mnuArchiveMenu"));
    auto item = [menu](const QString &name, const QString &caption, const QString &form) {
        QAction *a = menu->addAction(caption);
        a->setObjectName(name);
        QObject::connect(a, &QAction::triggered, menu, [form] { openForm(form); });
        return a;
    };
    item(QStringLiteral("mnuArchive_Import"), QStringLiteral("Import files..."),
         QStringLiteral("frmArchive_Import"));
    item(QStringLiteral("mnuArchive_Devices"), QStringLiteral("Devices"),
         QStringLiteral("frmArchive_Devices"));
    menu->addSeparator();
    QAction *downloads = menu->addAction(QStringLiteral("Add every download"));
    downloads->setObjectName(QStringLiteral("mnuArchive_Downloads"));
    downloads->setCheckable(true);
    QObject::connect(menu, &QMenu::aboutToShow, downloads,
                     [downloads] { downloads->setChecked(archiveDownloads()); });
    downloads->setChecked(archiveDownloads());
    QObject::connect(downloads, &QAction::toggled, downloads, [](bool on) { setArchiveDownloads(on); });
    QAction *file = menu->addAction(QStringLiteral("Archive file..."));
    file->setObjectName(QStringLiteral("mnuArchive_File"));
    QObject::connect(file, &QAction::triggered, menu, [menu] {
        const std::optional<QString> path =
            dialogs().saveFile(menu, archivePath(), QStringLiteral("Device archive (*.sqlite)|*.sqlite"), 1);
        if (!path || path->isEmpty())
            return;
        setArchivePath(*path);
        if (appArchive())
            showMessage(QStringLiteral("The archive is now ") + *path, Caption, MsgIcon::Information);
    });
    return menu;
}

} // namespace kvl
