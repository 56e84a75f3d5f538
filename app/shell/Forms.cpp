#include "shell/Forms.h"

#include "shell/frmMain.h"
#include "store/Store.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QHash>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPixmap>
#include <QPointer>
#include <QScreen>

namespace kvl {

namespace {

QHash<QString, FormFactory> &factories()
{
    static QHash<QString, FormFactory> map;
    return map;
}

// Creation order of windows: when two windows of one name are alive, the
// newer one is the open one.
quint64 nextSerial = 0;

} // namespace

OpenFlags &openFlags()
{
    static OpenFlags flags;
    return flags;
}

Store &appStore()
{
    static Store store;
    return store;
}

QColor formBackground()
{
    return QColor(197, 207, 237);
}

Form::Form(const QString &name, bool *openFlag, bool closeOthers, Kind kind)
    : m_openFlag(openFlag), m_kind(kind)
{
    if (closeOthers)
        Fermer_Fenetres();
    setObjectName(name);
    setAttribute(Qt::WA_DeleteOnClose);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, formBackground());
    setPalette(pal);
    setAutoFillBackground(true);
    m_serial = ++nextSerial;
    if (m_openFlag)
        *m_openFlag = true;
}

Form::~Form()
{
    // A window deleted without a close still counts as unloaded.
    if (!m_unloaded && m_openFlag)
        *m_openFlag = false;
}

void Form::closeEvent(QCloseEvent *event)
{
    if (!m_unloaded) {
        m_unloaded = true;
        formUnload();
        if (m_openFlag)
            *m_openFlag = false;
        emit unloaded();
    }
    event->accept();
    if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
        sub->close();
}

void Form::keyPressEvent(QKeyEvent *event)
{
    auto *ok = findChild<QAbstractButton *>(QStringLiteral("Cmd_Ok"));
    auto *cancel = findChild<QAbstractButton *>(QStringLiteral("Cmd_Annuler"));
    if (ok && cancel) {
        const int key = event->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && event->modifiers() == Qt::NoModifier) {
            if (ok->isEnabled() && ok->isVisible())
                ok->click();
            return;
        }
        if (key == Qt::Key_Escape) {
            cancel->click();
            return;
        }
    }
    QWidget::keyPressEvent(event);
}

void registerForm(const QString &name, FormFactory factory)
{
    factories().insert(name, std::move(factory));
}

void showForm(QWidget *form)
{
    auto *f = qobject_cast<Form *>(form);
    frmMain *main = frmMain::instance();
    if (main && f && f->kind() == Form::View && main->mdiArea()) {
        QMdiSubWindow *sub = main->mdiArea()->addSubWindow(form);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        sub->setWindowTitle(form->windowTitle());
        sub->showMaximized();
        return;
    }
    if (main && form->parentWidget() == nullptr) {
        form->setParent(main, Qt::Dialog);
        form->adjustSize();
        placeOnScreen(form);
    }
    form->show();
}

void placeOnScreen(QWidget *window)
{
    QScreen *screen = window->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    // The title bar and borders the window manager adds, as measured on the
    // main window once it is shown (none on the offscreen platform).
    QSize frame(0, 0);
    frmMain *main = frmMain::instance();
    if (main && main->isVisible() && main != window)
        frame = (main->frameGeometry().size() - main->geometry().size()).expandedTo(QSize(0, 0));
    window->resize(window->size().boundedTo(area.size() - frame));
    QRect outer(QPoint(0, 0), window->size() + frame);
    outer.moveCenter(area.center());
    // A window still larger than the screen (its minimum size) keeps its
    // title bar reachable.
    outer.moveTopLeft(QPoint(qMax(area.left(), outer.left()), qMax(area.top(), outer.top())));
    window->move(outer.topLeft());
}

QWidget *openForm(const QString &name)
{
    const auto it = factories().constFind(name);
    if (it == factories().constEnd())
        return nullptr;
    QWidget *form = it.value()();
    if (form && !form->isVisible() && !form->testAttribute(Qt::WA_WState_ExplicitShowHide))
        showForm(form);
    return form;
}

QWidget *findForm(const QString &name)
{
    // The live windows themselves are the registry: no second record to keep
    // in step with the open flags.
    Form *found = nullptr;
    for (QWidget *w : QApplication::allWidgets()) {
        auto *f = qobject_cast<Form *>(w);
        if (f && !f->isUnloaded() && f->objectName() == name && (!found || f->serial() > found->serial()))
            found = f;
    }
    return found;
}

void closeForm(const QString &name)
{
    if (QWidget *w = findForm(name))
        w->close();
}

void Fermer_Fenetres()
{
    const OpenFlags &f = openFlags();
    const struct
    {
        const bool *flag;
        const char *name;
    } order[] = {
        {&f.Open_frmPort, "frmPort"},
        {&f.Open_frmData_Type, "frmData_Type"},
        {&f.Open_frmGraphique_Leq, "frmGraphique_Leq"},
        {&f.Open_frmInTableau, "frmInTableau"},
        {&f.Open_frmTableau_Evenements, "frmTableau_Evenements"},
        {&f.Open_frmTableau_Leq, "frmTableau_Leq"},
        {&f.Open_frmWait_Save, "frmWait_Save"},
        {&f.Open_frmInGraphique, "frmInGraphique"},
        {&f.Open_frmWait, "frmWait"},
        {&f.Open_frmTableau_Leq_V5, "frmTableau_Leq_V5"},
        {&f.Open_frmParametres_v4, "frmParametres_v4"},
        {&f.Open_frmInGraphique_v5, "frmInGraphique_v5"},
        {&f.Open_frmInRapport, "frmInRapport"},
    };
    for (const auto &entry : order)
        if (*entry.flag)
            closeForm(QString::fromLatin1(entry.name));
}

QPixmap loadImage(const QString &fileName)
{
    return QPixmap(QCoreApplication::applicationDirPath() + QStringLiteral("/Images/") + fileName);
}

} // namespace kvl
