// The download routines against the in-process device, on a fake clock:
// attempts and their waits, the time-out codes, cancel, a port that goes
// away, the progress bars at the end, and what ends up in the store.

#include "FakeDevice.h"
#include "Generator.h"
#include "StoreCheck.h"
#include "TestCore.h"
#include "link/Progress.h"
#include "link/SerialLine.h"
#include "link/Transfer.h"
#include "store/Store.h"

#include <QtTest>

#include <memory>

using namespace kvl;
using kvl::test::FakeDevice;
using State = Transfer::State;

namespace {

// A store, a device and the routine, stepped one fake millisecond at a time.
struct Bench
{
    Store store;
    FakeDevice device;
    kvlsim::DeviceMemory mem;
    TransferProgress bars;
    std::unique_ptr<Transfer> transfer;
    qint64 now = 0;
    bool started = false;
    bool saveAs = true;

    explicit Bench(int version, quint32 seed = 1)
    {
        store.Device_Version = qint16(version);
        store.Com_Port = 2;
        // Stays unless something is decoded.
        store.Leq_Records(1, 1) = 77;
        mem = kvlsim::generateDevice(version, seed, 3);
        device.image = mem.image;
        device.paramAnswer = mem.paramAnswer;
        bars.reset(version);
        TransferHooks hooks;
        hooks.progress = [this] { bars.Avancer_Progression(store); };
        hooks.completeTransmission = [this] {
            bars.setTransmissionNearlyFull();
            bars.Avancer_Progression(store);
        };
        hooks.setSaveAsEnabled = [this](bool on) { saveAs = on; };
        hooks.now = [] { return QDateTime(QDate(2026, 12, 6), QTime(9, 5, 3)); };
        transfer = std::make_unique<Transfer>(store, device, hooks);
    }

    // Runs (or goes on running) to the end; false if `until` stopped it first.
    bool run(const std::function<bool()> &until = {})
    {
        if (started) {
            ++now;
        } else {
            started = true;
            device.setNow(now);
            transfer->start(now);
        }
        for (; now < 120000; ++now) {
            device.setNow(now);
            if (!transfer->step(now))
                return true;
            if (until && until())
                return false;
        }
        return false;
    }

    void expectLoaded()
    {
        QVERIFY(store.Data_Loaded);
        QVERIFY(!store.Cancel_Flag);
        QVERIFY(saveAs);
        QVERIFY(!device.isOpen());
        QCOMPARE(transfer->outcome(), TransferOutcome::Completed);
        QCOMPARE(test::storeMismatch(store, mem), QString());
    }

    // `code` in Transfer_Error, the port closed, and the records untouched
    // unless decoding had already run.
    void expectFailed(int code, bool decoded = false)
    {
        QCOMPARE(store.Transfer_Error, qint16(code));
        QCOMPARE(transfer->outcome(), TransferOutcome(code));
        QVERIFY(store.Cancel_Flag);
        QVERIFY(!store.Data_Loaded);
        QVERIFY(!saveAs);
        QVERIFY(!device.isOpen());
        if (!decoded)
            QCOMPARE(store.Leq_Records(1, 1), qint16(77));
    }
};

void rows(const char *section)
{
    test::addDataRows(QStringLiteral("link/rows.txt"), QLatin1String(section));
}

} // namespace

class tst_Transfer : public QObject
{
    Q_OBJECT
private slots:
    void portSetUpOrder_data() { rows("complete"); }
    void portSetUpOrder()
    {
        QFETCH(QStringList, c);
        Bench b(c[1].toInt());
        b.device.answerOnAttempt = 0;
        QVERIFY(!b.run([&b] { return b.now >= Transfer::QuietMs + 10; }));
        KVL_COMPARE_REF("link/transfer.txt", QStringLiteral("port set-up ") + c[1], b.device.calls);
    }

    void failures_data() { rows("failures"); }
    void failures()
    {
        QFETCH(QStringList, c);
        const int version = c[1].toInt(), code = c[3].toInt();
        const QString fault = c[2];
        Bench b(version);
        const QStringList f = fault.split(QLatin1Char(' '));
        const QString kind = f[0];
        const int n = f.value(1).toInt();
        QByteArray &image = b.device.image;
        if (kind == "record") {
            // 12:30 on 15/06/26, level 85 dB, then the byte under test.
            const char record[8] = {0x30, 0x12, 0x15, 0x0A, 0x06, 0x26, char(0x85), 0x00};
            image.replace(0, 8, QByteArray(record, 8));
        }
        const char byte = char(f.value(2).toInt(nullptr, 16));
        if (kind == "record")
            image[n] = byte;
        else if (kind == "param")
            image[versionLayout(version).paramArea + n] = byte;
        else if (kind == "answer")
            b.device.paramAnswer[n - block::RawCopyFirst] = byte;
        else if (kind == "short")
            b.device.stopAfter = kvlsim::memorySize(version) - n;
        else if (kind == "stop")
            b.device.stopAfter = n;
        else if (kind == "extra")
            b.device.extra = QByteArray(n, char(0x55));
        else if (kind == "param-size")
            b.device.paramAnswer = b.device.paramAnswer.leftJustified(n, char(0x12), true);
        else if (kind == "param-on")
            b.device.paramAnswerOnAttempt = n;
        else if (kind == "vanish")
            b.device.vanishAfter = n;
        else if (kind == "answer-on")
            b.device.answerOnAttempt = n;
        else if (kind == "earlier")
            b.device.startSending(image.right(n));
        if (fault == "vanish 0") {
            b.device.answerOnAttempt = 0;
            QVERIFY(!b.run([&b] { return b.now == Transfer::QuietMs + 100; }));
            b.device.vanish();
        }
        // When the last byte came, counting what was not read yet.
        qint64 lastByte = 0;
        int seen = 0;
        QVERIFY(b.run([&] {
            const int now = b.transfer->received() + b.device.inBufferCount();
            if (now != seen) {
                seen = now;
                lastByte = b.now;
            }
            return false;
        }));
        // The image commands come first, each once more than its wait has passed.
        const qint64 waitMs = version >= 5 ? 750 : 500;
        const QList<qint64> times = b.device.commandTimes.mid(0, b.device.commands.count(0x01));
        QCOMPARE(times.size(), c[4].toInt());
        for (int i = 1; i < times.size(); ++i)
            QCOMPARE(times[i] - times[i - 1], waitMs + 1);
        QCOMPARE(int(b.device.commands.count(0x03)), c[5].toInt());
        QCOMPARE(b.transfer->failureReason(), c[6]);
        if (fault == "answer-on 0")
            QCOMPARE(b.now, times.last() + waitMs + 1);
        if (kind == "stop") {
            QCOMPARE(b.now, lastByte + Transfer::SilenceMs);
            QCOMPARE(b.transfer->arrived(), n);
        }
        if (kind == "earlier") {
            // The command waits for the line to fall quiet after that answer.
            const qint64 tailEnd = (image.right(n).size() + b.device.bytesPerMs - 1) / b.device.bytesPerMs;
            QVERIFY(times.first() >= tailEnd + Transfer::QuietMs - 1);
            QVERIFY(times.first() <= tailEnd + Transfer::QuietMs + 2);
            QVERIFY(b.transfer->discarded() > 0);
        }
        if (code == 0)
            b.expectLoaded();
        else
            b.expectFailed(code);
    }

    void cancel_data() { rows("cancel"); }
    void cancel()
    {
        QFETCH(QStringList, c);
        const int version = c[1].toInt();
        const QString when = c[2];
        Bench b(version);
        if (when == "connection")
            b.device.answerOnAttempt = 0;
        if (when == "time-out wait")
            b.device.stopAfter = kvlsim::memorySize(version) - 100;
        if (when == "stalled")
            b.device.stopAfter = 50000;
        const auto reached = [&] {
            const State s = b.transfer->state();
            if (when == "connection")
                return s == State::AttemptWait && b.store.Transfer_Error == 1 && b.now > 900;
            if (when == "reception")
                return s == State::Receive && b.transfer->received() > 20000;
            if (when == "time-out wait")
                return s == State::ReceiveWait && b.store.Transfer_Error == 2;
            if (when == "stalled")
                return b.now >= 15000;
            return s == State::SortEvents;
        };
        QVERIFY(!b.run(reached));
        // What the progress window's unload does.
        b.store.Cancel_Flag = true;
        b.store.Transfer_Error = 0;
        b.device.close();
        const qint64 cancelledAt = b.now;
        QVERIFY(b.run());
        // It stops at its next check: at most one wait later.
        QVERIFY(b.now - cancelledAt <= 751);
        b.expectFailed(0, when == "sorting");
    }

    void completeDownload_data() { rows("complete"); }
    void completeDownload()
    {
        QFETCH(QStringList, c);
        const int version = c[1].toInt(), transmission = c[2].toInt(), filing = c[3].toInt();
        Bench b(version, 21);
        QVERIFY(b.run());
        b.expectLoaded();
        QCOMPARE(b.bars.transmission.val(), transmission);
        QCOMPARE(b.bars.classement.val(), filing);
        QCOMPARE(b.bars.traitement.val(), transmission + filing);

        // The final wait shows the completed window for at least 1500 ms.
        QVERIFY(b.now >= 1500);
        const Store &s = b.store;
        if (version >= 5) {
            QCOMPARE(s.Transfer_Date, QStringLiteral("06/12/2026"));
            QCOMPARE(s.Transfer_Time, QStringLiteral("09:05:03"));
            QVERIFY(s.Default_Leq_Day.isEmpty());
        } else {
            const auto &p = b.mem.paramBlock;
            QCOMPARE(s.Default_Leq_Day, QString::number(blockLevel(p, block::LeqDay)));
            QCOMPARE(s.Default_Leq_Night, QString::number(blockLevel(p, block::LeqNight)));
            QCOMPARE(s.Default_Hour_Day_Night, QString::number(p[block::HourDayNight]));
            QCOMPARE(s.Default_Hour_Night_Day, QString::number(p[block::HourNightDay]));
            QVERIFY(s.Transfer_Date.isEmpty());
        }
    }
};

QTEST_GUILESS_MAIN(tst_Transfer)
#include "tst_transfer.moc"
