#pragma once

// Window bookkeeping: the open flags, creation of windows by name, and
// Fermer_Fenetres. Object names of windows and controls are the program's
// own control names, so tests find them with findChild.

#include <QPixmap>
#include <QWidget>

#include <functional>

namespace kvl {

struct Store;

// One flag per window that Fermer_Fenetres may have to close.
struct OpenFlags
{
    bool Open_frmPort = false;
    bool Open_frmData_Type = false;
    bool Open_frmWait = false;
    bool Open_frmGraphique_Leq = false;
    bool Open_frmInTableau = false;
    bool Open_frmInGraphique = false;
    bool Open_frmTableau_Leq = false;
    bool Open_frmTableau_Leq_V5 = false;
    bool Open_frmTableau_Evenements = false;
    bool Open_frmWait_Save = false;
    bool Open_frmParametres_v4 = false;
    bool Open_frmInGraphique_v5 = false;
    bool Open_frmInRapport = false;
};
OpenFlags &openFlags();

// The program's single measurement store.
Store &appStore();

// Background colour of windows and labels.
QColor formBackground();

// Base of every window of the program. The constructor is the window's load:
// it first closes every other window when asked (closeOthers), then names the
// window and sets its open flag (when it has one). Closing it is the unload:
// formUnload() runs, the flag is cleared and the window is deleted.
class Form : public QWidget
{
    Q_OBJECT
public:
    enum Kind { Dialog, View };
    Form(const QString &name, bool *openFlag, bool closeOthers, Kind kind = Dialog);
    ~Form() override;

    Kind kind() const { return m_kind; }
    bool isUnloaded() const { return m_unloaded; }
    quint64 serial() const { return m_serial; }

signals:
    void unloaded();

protected:
    // Called once when the window closes, before its flag is cleared.
    virtual void formUnload() {}
    void closeEvent(QCloseEvent *event) override;
    // Enter is Cmd_Ok and Esc is Cmd_Annuler in a window that has both.
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool *m_openFlag;
    Kind m_kind;
    bool m_unloaded = false;
    quint64 m_serial = 0;
};

using FormFactory = std::function<QWidget *()>;

// Registers how to create a window by name (done once at start-up).
void registerForm(const QString &name, FormFactory factory);

// Creates the named window (its load runs), shows it modeless and returns it;
// nullptr when no such window is registered.
QWidget *openForm(const QString &name);

// Shows an already created window: views inside the main window's area,
// dialogs as windows of their own above it.
void showForm(QWidget *form);

// Shrinks a top-level window to the available area of its screen when it is
// larger, and centres it there.
void placeOnScreen(QWidget *window);

// The open window of that name, or nullptr.
QWidget *findForm(const QString &name);

// Closes the named window if it is open.
void closeForm(const QString &name);

// Closes every open window, in the program's fixed order.
void Fermer_Fenetres();

// Loads "<program folder>/Images/<file>"; a missing file gives a null pixmap.
QPixmap loadImage(const QString &fileName);

// Twips to pixels at 96 dots per inch (15 twips to a pixel).
constexpr int twips(int value)
{
    return value / 15;
}

} // namespace kvl
