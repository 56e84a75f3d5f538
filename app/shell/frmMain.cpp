#include "shell/frmMain.h"

#include "files/DataFiles.h"
#include "link/PortChoice.h"
#include "shell/AppHooks.h"
#include "shell/Forms.h"
#include "shell/frmAbout.h"
#include "shell/frmStart.h"
#include "store/Store.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMdiArea>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QWindowStateChangeEvent>

namespace kvl {

namespace {
frmMain *g_instance = nullptr;

// The size the window is designed for; smaller screens get it maximised.
constexpr QSize DesignSize(1024, 740);

// The one local file of a drag, or "" when it carries anything else.
QString droppedFile(const QMimeData *data)
{
    if (!data || !data->hasUrls() || data->urls().size() != 1 || !data->urls().first().isLocalFile())
        return QString();
    return data->urls().first().toLocalFile();
}
} // namespace

const QString frmMain::DesignCaption = QStringLiteral("ORLIN Analysis Software - KVL 24/36 - Version 1.1");

frmMain::frmMain(bool withSplash) : m_withSplash(withSplash)
{
    g_instance = this;
    forgetPortVersion();
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(DesignCaption);
    m_mdi = new QMdiArea(this);
    m_mdi->setObjectName(QStringLiteral("MDIClient"));
    m_mdi->setBackground(QColor(128, 128, 128));
    setCentralWidget(m_mdi);
    const QPixmap logo = loadImage(QStringLiteral("Logo Orlin.bmp"));
    if (!logo.isNull())
        QApplication::setWindowIcon(QIcon(logo));
    setWindowIcon(QApplication::windowIcon());
    setAcceptDrops(true);
    resize(DesignSize);
    placeOnScreen(this);

    // Timer_Wait paces the splash and fires once.
    m_timerWait.setObjectName(QStringLiteral("Timer_Wait"));
    m_timerWait.setSingleShot(true);

    buildMenus();
    // Disabled at start; enabled only when a download completes.
    menuEntry(QStringLiteral("mnuSave_As"))->setEnabled(false);
}

frmMain::~frmMain()
{
    if (g_instance == this)
        g_instance = nullptr;
}

frmMain *frmMain::instance()
{
    return g_instance;
}

void setMenuEnabled(const QString &name, bool enabled)
{
    if (g_instance)
        if (QAction *a = g_instance->menuEntry(name))
            a->setEnabled(enabled);
}

QAction *frmMain::addBarEntry(const QString &name, const QString &caption)
{
    QAction *a = menuBar()->addAction(caption);
    a->setObjectName(name);
    return a;
}

void frmMain::buildMenus()
{
    auto bar = [this](const QString &name) {
        // The vertical bars stand in the menu bar itself, always disabled.
        QAction *a = addBarEntry(name, QStringLiteral("|"));
        a->setEnabled(false);
    };
    connect(addBarEntry(QStringLiteral("mnuPort"), QStringLiteral("& Port Selection")), &QAction::triggered,
            this, &frmMain::mnuPort_Click);
    bar(QStringLiteral("sep3"));
    connect(addBarEntry(QStringLiteral("mnuSave_As"), QStringLiteral("&Save as ...")), &QAction::triggered,
            this, &frmMain::mnuSave_As_Click);
    bar(QStringLiteral("sep4"));

    m_analyse = new QMenu(QStringLiteral("&Analysis"), this);
    m_analyse->setObjectName(QStringLiteral("mnuAnalyseMenu"));
    QAction *analyse = menuBar()->addMenu(m_analyse);
    analyse->setObjectName(QStringLiteral("mnuAnalyse"));
    auto item = [this](const QString &name, const QString &caption, void (frmMain::*slot)()) {
        QAction *a = m_analyse->addAction(caption);
        a->setObjectName(name);
        connect(a, &QAction::triggered, this, slot);
    };
    auto hyphen = [this](const QString &name) { m_analyse->addSeparator()->setObjectName(name); };
    item(QStringLiteral("mnuGraphique"), QStringLiteral("Leq Diagram"), &frmMain::mnuGraphique_Click);
    item(QStringLiteral("mnuTab_Leq"), QStringLiteral("Leq Chart"), &frmMain::mnuTab_Leq_Click);
    hyphen(QStringLiteral("sep1"));
    item(QStringLiteral("mnuEvenements"), QStringLiteral("Event Chart"), &frmMain::mnuEvenements_Click);
    hyphen(QStringLiteral("sep2"));
    item(QStringLiteral("mnuParametres"), QStringLiteral("Parameter Chart"), &frmMain::mnuParametres_Click);
    hyphen(QStringLiteral("sep7"));
    item(QStringLiteral("mnuRapport"), QStringLiteral("Report..."), &frmMain::mnuRapport_Click);

    bar(QStringLiteral("sep5"));
    connect(addBarEntry(QStringLiteral("mnuAbout"), QStringLiteral("About ...")), &QAction::triggered, this,
            &frmMain::mnuAbout_Click);
    bar(QStringLiteral("sep6"));
    connect(addBarEntry(QStringLiteral("mnuQuitter"), QStringLiteral("&Exit")), &QAction::triggered, this,
            &frmMain::mnuQuitter_Click);
}

QAction *frmMain::menuEntry(const QString &name) const
{
    return findChild<QAction *>(name);
}

void frmMain::startUp()
{
    menuEntry(QStringLiteral("mnuSave_As"))->setEnabled(false);
    closeForm(QStringLiteral("frmWait"));
    closeForm(QStringLiteral("frmAbout"));
    // Leave room for the borders and title bar the window manager adds.
    const QScreen *screen = this->screen();
    if (screen && (screen->availableGeometry().width() < DesignSize.width() + 16 ||
                   screen->availableGeometry().height() < DesignSize.height() + 40))
        showMaximized();
    else
        show();

    if (m_withSplash) {
        // The splash keeps the interface alive while Timer_Wait runs.
        auto *splash = new frmStart(this);
        setEnabled(false);
        splash->show();
        m_timerWait.start(m_splashMs);
        connect(&m_timerWait, &QTimer::timeout, this, [this, splash] {
            splash->close();
            setEnabled(true);
            finishStartUp();
        });
        return;
    }
    finishStartUp();
}

void frmMain::finishStartUp()
{
    OpenFlags &f = openFlags();
    f.Open_frmPort = false;
    f.Open_frmData_Type = false;
    f.Open_frmWait = false;
    appStore().initialise();
    // Loaded first, so that the port selection proposes the file's version.
    if (!m_startFile.isEmpty())
        openDataFile(m_startFile);
    openForm(QStringLiteral("frmPort"));
}

bool frmMain::openDataFile(const QString &path)
{
    Store &s = appStore();
    s.Data_File_Path = path;
    Lecture_Fichier(path);
    return s.Data_Loaded;
}

void frmMain::dragEnterEvent(QDragEnterEvent *event)
{
    if (!droppedFile(event->mimeData()).isEmpty() && !openFlags().Open_frmWait &&
        !openFlags().Open_frmWait_Save)
        event->acceptProposedAction();
}

void frmMain::dropEvent(QDropEvent *event)
{
    const QString path = droppedFile(event->mimeData());
    if (path.isEmpty() || openFlags().Open_frmWait || openFlags().Open_frmWait_Save)
        return;
    event->acceptProposedAction();
    // The loaded data replaces what the open view shows.
    Fermer_Fenetres();
    openDataFile(path);
}

void frmMain::closeEvent(QCloseEvent *event)
{
    // No quitting while a data file is being written.
    if (openFlags().Open_frmWait_Save) {
        event->ignore();
        return;
    }
    Fermer_Fenetres();
    closeForm(QStringLiteral("frmAbout"));
    event->accept();
}

void frmMain::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::WindowStateChange && openFlags().Open_frmWait) {
        if (QWidget *wait = findForm(QStringLiteral("frmWait"))) {
            if (windowState() & Qt::WindowMinimized)
                wait->hide();
            else if (windowState() & Qt::WindowMaximized)
                wait->show();
        }
    }
    QMainWindow::changeEvent(event);
}

void frmMain::mnuPort_Click()
{
    openForm(QStringLiteral("frmPort"));
}

void frmMain::mnuSave_As_Click()
{
    const Store &s = appStore();
    Sauvegarde_Fichier(s.Device_Version, leqRows(s.Device_Version));
}

void frmMain::analysisCommand(bool resetPeriod, bool resetChartDays, RequestedView view)
{
    Store &s = appStore();
    if (resetPeriod) {
        for (QString *t :
             {&s.Start_Day, &s.Start_Month, &s.Start_Year, &s.End_Day, &s.End_Month, &s.End_Year})
            t->clear();
    }
    if (resetChartDays)
        s.Chart_Days_Text = QStringLiteral("1");
    Fermer_Fenetres();
    s.Requested_View = view;
    openForm(QStringLiteral("frmData_Type"));
}

void frmMain::mnuGraphique_Click()
{
    analysisCommand(true, true, RequestedView::LeqChart);
}

void frmMain::mnuTab_Leq_Click()
{
    analysisCommand(true, false, RequestedView::LeqTable);
}

void frmMain::mnuEvenements_Click()
{
    analysisCommand(true, false, RequestedView::EventsTable);
}

void frmMain::mnuParametres_Click()
{
    analysisCommand(false, false, RequestedView::Parameters);
}

void frmMain::mnuRapport_Click()
{
    analysisCommand(false, false, RequestedView::Report);
}

void frmMain::mnuAbout_Click()
{
    auto *about = new frmAbout(this);
    about->show();
}

void frmMain::mnuQuitter_Click()
{
    Store &s = appStore();
    s.Cancel_Flag = true;
    s.Transfer_Error = 0;
    Fermer_Fenetres();
    close();
}

} // namespace kvl
