#include "WindowTest.h"

#include "shell/AppHooks.h"
#include "shell/Forms.h"
#include "shell/frmMain.h"
#include "store/Store.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace kvl::test {

void closeWindows()
{
    Fermer_Fenetres();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

frmMain *WindowTest::openMain(bool shown)
{
    delete m_main.data();
    m_main = new frmMain(false);
    if (shown) {
        m_main->resize(1024, 768);
        m_main->show();
    }
    return m_main;
}

bool dropFile(QWidget *window, const QString &file)
{
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(file)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &drop);
    return true;
}

void WindowTest::initTestCase()
{
    registerAllForms();
    openMain();
}

void WindowTest::cleanupTestCase()
{
    delete m_main.data();
}

void WindowTest::init()
{
    appStore() = Store();
}

void WindowTest::cleanup()
{
    closeWindows();
}

} // namespace kvl::test
