#pragma once

#include "store/Store.h"

#include <QMainWindow>
#include <QTimer>

class QAction;
class QMdiArea;
class QMenu;

namespace kvl {

// Enables or disables a main-menu entry by its name; nothing happens
// without a main window.
void setMenuEnabled(const QString &name, bool enabled);

// The multiple-document main window: menus, title bar, the views' area.
class frmMain : public QMainWindow
{
    Q_OBJECT
public:
    // The caption the window is designed with.
    static const QString DesignCaption;

    // withSplash = false skips the three-second splash (tests).
    explicit frmMain(bool withSplash = true);
    ~frmMain() override;

    static frmMain *instance();

    QMdiArea *mdiArea() const { return m_mdi; }
    // A menu entry by its name ("mnuSave_As", "mnuAnalyse", "sep3", ...).
    QAction *menuEntry(const QString &name) const;

    // MDIForm_Load's steps after the window is shown: splash, store, frmPort.
    void startUp();

    // The menu commands, callable directly.
    void mnuPort_Click();
    void mnuSave_As_Click();
    void mnuGraphique_Click();
    void mnuTab_Leq_Click();
    void mnuEvenements_Click();
    void mnuParametres_Click();
    void mnuRapport_Click();
    void mnuAbout_Click();
    void mnuQuitter_Click();

    // Loads a data file as "Saved Data" does (command line, dropped file), so
    // that "Last Data used" then offers it. False when it did not load.
    bool openDataFile(const QString &path);
    // A data file to load once start-up has initialised the store.
    void setStartFile(const QString &path) { m_startFile = path; }

    // Seconds the splash stays; 3 in the program.
    void setSplashMilliseconds(int ms) { m_splashMs = ms; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void buildMenus();
    void finishStartUp();
    QAction *addBarEntry(const QString &name, const QString &caption);
    void analysisCommand(bool resetPeriod, bool resetChartDays, RequestedView view);

    QMdiArea *m_mdi = nullptr;
    QMenu *m_analyse = nullptr;
    QTimer m_timerWait;
    bool m_withSplash;
    int m_splashMs = 3000;
    QString m_startFile;
};

} // namespace kvl
