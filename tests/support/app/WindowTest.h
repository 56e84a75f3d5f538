#pragma once

// What the window tests share: every form registered and the main window
// shown at 1024 x 768 for the whole test case, a fresh store before each
// test and every other window closed after it. A test class derives from it
// and redefines a step (calling this one) where it needs more.

#include <QObject>
#include <QPointer>

class QWidget;

namespace kvl {
class frmMain;
}

namespace kvl::test {

// Closes every window but the main one and lets them go.
void closeWindows();
// Drags `file` onto `window` and drops it there; false if the window refuses it.
bool dropFile(QWidget *window, const QString &file);

class WindowTest : public QObject
{
    Q_OBJECT
protected:
    QPointer<frmMain> m_main;
    // A new main window, shown at 1024 x 768 unless told (the previous one goes).
    frmMain *openMain(bool shown = true);

protected slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
};

} // namespace kvl::test
