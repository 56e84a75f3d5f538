#include "link/TransferDriver.h"

#include "link/CommPort.h"
#include "link/PortChoice.h"
#include "link/Transfer.h"
#include "link/TransferReport.h"
#include "link/frmWait.h"
#include "shell/Forms.h"
#include "shell/frmMain.h"
#include "store/Store.h"

#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>

namespace kvl {

namespace {

// Milliseconds between two steps of the routine: short enough for the
// progress pacing to see the buffer grow, long enough to cost nothing.
constexpr int PollMs = 2;

QString &lastDetail()
{
    static QString detail;
    return detail;
}

void setSaveAsEnabled(bool on)
{
    setMenuEnabled(QStringLiteral("mnuSave_As"), on);
}

// One download: the routine, its clock, its timer and its progress window.
class TransferRun : public QObject
{
public:
    explicit TransferRun(std::function<void()> done)
        : QObject(QCoreApplication::instance()), m_done(std::move(done)),
          m_transfer(appStore(), MSComm1(), hooks())
    {
        m_clock.start();
        m_transfer.start(0);
        m_wait = qobject_cast<frmWait *>(openForm(QStringLiteral("frmWait")));
        connect(&m_timer, &QTimer::timeout, this, &TransferRun::tick);
        m_timer.start(PollMs);
    }

    // Ends this download as a user cancel would (a new one is starting).
    void abort()
    {
        if (m_finished)
            return;
        Store &s = appStore();
        s.Cancel_Flag = true;
        s.Transfer_Error = 0;
        MSComm1().close();
        finish();
    }

private:
    TransferHooks hooks()
    {
        TransferHooks h;
        h.progress = [this] { progressStep(); };
        h.completeTransmission = [this] {
            if (m_wait)
                m_wait->setTransmissionNearlyFull();
            progressStep();
        };
        h.setSaveAsEnabled = setSaveAsEnabled;
        h.now = [] { return QDateTime::currentDateTime(); };
        h.status = [this](const QString &text) {
            if (m_wait)
                m_wait->setLineStatus(text);
        };
        return h;
    }

    // Once the window is closed the routine stops at its next check; the
    // steps until then only count.
    void progressStep()
    {
        if (m_wait)
            m_wait->Avancer_Progression();
        else
            ++appStore().Progress_Step;
    }

    void tick()
    {
        if (!m_transfer.step(m_clock.elapsed()))
            finish();
    }

    void finish()
    {
        const Store &s = appStore();
        lastDetail().clear();
        const TransferOutcome outcome = transferOutcome(s);
        if (outcome != TransferOutcome::Completed && outcome != TransferOutcome::Cancelled) {
            TransferFacts facts;
            facts.comPort = s.Com_Port;
            facts.portPath = portDeviceName(s.Com_Port);
            facts.version = s.Device_Version;
            facts.outcome = outcome;
            facts.received = m_transfer.arrived();
            facts.reason = m_transfer.failureReason();
            lastDetail() = transferErrorDetail(facts);
        }
        m_finished = true;
        m_timer.stop();
        std::function<void()> done = std::move(m_done);
        deleteLater();
        if (done)
            done();
    }

    std::function<void()> m_done;
    Transfer m_transfer;
    QElapsedTimer m_clock;
    QTimer m_timer;
    QPointer<frmWait> m_wait;
    bool m_finished = false;
};

QPointer<TransferRun> g_running;

} // namespace

QString lastTransferErrorDetail()
{
    return lastDetail();
}

void startTransfer(std::function<void()> done)
{
    // The tables are about to hold the memory of the device chosen.
    Store &s = appStore();
    s.Device_Version = qint16(downloadVersion(s));
    // One line, one download at a time.
    if (g_running)
        g_running->abort();
    // The window of an earlier download may still show its completed state.
    closeForm(QStringLiteral("frmWait"));
    g_running = new TransferRun(std::move(done));
}

} // namespace kvl
