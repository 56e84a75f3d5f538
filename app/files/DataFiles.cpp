#include "files/DataFiles.h"

#include "Logging.h"
#include "files/DataFile.h"
#include "files/FileWrite.h"
#include "files/SaveProgress.h"
#include "files/frmWait_Save.h"
#include "shell/AppHooks.h"
#include "shell/Forms.h"
#include "shell/Seams.h"
#include "shell/frmMain.h"
#include "store/Store.h"

#include <QAction>
#include <QApplication>
#include <QDate>
#include <QFile>

namespace kvl {

namespace {

// No valid file is longer than this (every value is at most 6 characters),
// and the reader never looks further.
constexpr qint64 MaxFileRead = 2 * 1024 * 1024;

// The entries that could start another action while a save runs.
void setSaveMenus(bool enabled)
{
    for (const char *name : {"mnuAbout", "mnuAnalyse", "mnuPort", "mnuSave_As", "mnuQuitter"})
        setMenuEnabled(QString::fromLatin1(name), enabled);
}

class WaitCursor
{
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

} // namespace

void Sauvegarde_Fichier(int version, int leqRows)
{
    setSaveMenus(false);
    const Store &s = appStore();
    if (!s.Data_Loaded) {
        showMessage(QStringLiteral("Can you load the data to access this function !!!"),
                    QStringLiteral("It is impossible to save data !!!"), MsgIcon::None);
        setSaveMenus(true);
        return;
    }
    const auto span = savedLeqSpan(s, leqRows);
    if (!span) {
        showMessage(QStringLiteral("It is impossible to save Data, No Leq Data in the memory !!!"),
                    QStringLiteral("No Data in the memory!!!"), MsgIcon::Critical);
        setSaveMenus(true);
        return;
    }

    QString proposed = defaultSaveName(s, version, *span);
    const QByteArray image = buildDataFile(s, version);
    for (;;) {
        const std::optional<QString> chosen =
            dialogs().saveFile(frmMain::instance(), proposed, saveFilter(version), 1);
        if (!chosen) {
            setSaveMenus(true);
            return;
        }
        if (chosen->isEmpty()) {
            showMessage(QStringLiteral("Can you write a name for the saving, please !!!"),
                        QStringLiteral("It is impossible to save data !!!"), MsgIcon::Critical);
            proposed.clear();
            continue;
        }
        FileWrite written;
        {
            WaitCursor hourglass;
            written = writeFileAtomically(*chosen, image);
        }
        if (written.ok())
            break;
        // The old file, if any, is untouched; say why, then offer another name.
        showMessage(writeFailureText(*chosen, written), QStringLiteral("It is impossible to save data !!!"),
                    MsgIcon::Critical);
        proposed = backupSaveName(QDate::currentDate());
    }

    // The file is complete; the window plays the save's progress, holds the
    // completion report, and the menus come back when it closes.
    auto *wait = new frmWait_Save(version);
    QObject::connect(wait, &Form::unloaded, [] { setSaveMenus(true); });
    showForm(wait);
    wait->play(saveProgressSteps(version, leqRows));
}

void Lecture_Fichier(const QString &path)
{
    Store &s = appStore();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(lcFiles) << "cannot open" << path << ":" << file.errorString();
        showMessage(QStringLiteral("It is impossible to open this file : ") + path,
                    QStringLiteral("File Problem "), MsgIcon::None, file.errorString());
        s.Data_Loaded = false;
        return;
    }
    LoadOutcome out;
    {
        WaitCursor hourglass;
        setMenuEnabled(QStringLiteral("mnuSave_As"), false);
        const QByteArray bytes = file.read(MaxFileRead);
        file.close();
        out = readDataFile(bytes, s);
        if (out.result != LoadOutcome::NotKvlFile)
            if (frmMain *main = frmMain::instance())
                main->setWindowTitle(loadCaption(s.Device_Version, s.Com_Port));
    }
    if (out.result != LoadOutcome::Loaded)
        showMessage(out.text, out.caption, MsgIcon::Critical, out.detailText());
}

} // namespace kvl
