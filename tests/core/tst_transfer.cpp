// The download routines against the in-process device, on a fake clock:
// attempts and their waits, the time-out codes, cancel, a port that goes
// away, the progress bars, and what ends up in the store.

#include "FakeDevice.h"
#include "Generator.h"
#include "Simulator.h"
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
    // Transfer_Error during the first attempt's wait and at the start of reception.
    int lastAttemptError = -99, errorAtReception = -99;
    // Time-out waits of the reception stages, counted by their effect.
    int receiveWaits = 0, lastPhase = 0, lastReceiveError = -99;

    explicit Bench(int version, quint32 seed = 1)
    {
        store.Device_Version = qint16(version);
        store.Com_Port = 2;
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

    // What the progress window's unload does.
    void userCancel()
    {
        store.Cancel_Flag = true;
        store.Transfer_Error = 0;
        if (device.isOpen())
            device.close();
    }

    void observe()
    {
        const State s = transfer->state();
        if (s == State::AttemptWait && transfer->phase() == 1)
            lastAttemptError = store.Transfer_Error;
        if (s == State::Receive && transfer->phase() == 1 && errorAtReception == -99)
            errorAtReception = store.Transfer_Error;
        const bool connecting = s == State::Attempt || s == State::AttemptWait;
        if (!connecting && transfer->phase() == lastPhase && store.Transfer_Error == lastReceiveError + 1)
            ++receiveWaits;
        lastReceiveError = s == State::Receive || s == State::ReceiveWait ? store.Transfer_Error : -99;
        lastPhase = transfer->phase();
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
            const bool running = transfer->step(now);
            observe();
            if (!running)
                return true;
            if (until && until())
                return false;
        }
        return false;
    }
};

} // namespace

class tst_Transfer : public QObject
{
    Q_OBJECT
private slots:
    void attempts_data();
    void attempts();
    void portSetUpOrder_data();
    void portSetUpOrder();
    void failures_data();
    void failures();
    void cancel_data();
    void cancel();
    void completeDownload_data();
    void completeDownload();
    void progressTexts_data();
    void progressTexts();
    void lineSettings_data();
    void lineSettings();
    void silenceEndsReception();
    void implausibleImage_data();
    void implausibleImage();
    void earlierAnswerStillComing_data();
    void earlierAnswerStillComing();
};

void tst_Transfer::attempts_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<int>("answerOn");
    for (int version : {3, 4, 5, 70})
        for (int answerOn : {1, 3, 0})
            QTest::addRow("%d answers on %d", version, answerOn) << version << answerOn;
}

void tst_Transfer::attempts()
{
    QFETCH(int, version);
    QFETCH(int, answerOn);
    const qint64 waitMs = version >= 5 ? 750 : 500;
    Bench b(version);
    b.device.answerOnAttempt = answerOn;
    QVERIFY(b.run());

    QList<qint64> times;
    for (int i = 0; i < b.device.commands.size(); ++i)
        if (b.device.commands[i] == 0x01)
            times << b.device.commandTimes[i];
    QCOMPARE(times.size(), answerOn == 0 ? 4 : answerOn);
    // Each wait ends once more than its length has passed.
    for (int i = 1; i < times.size(); ++i)
        QCOMPARE(times[i] - times[i - 1], waitMs + 1);
    QCOMPARE(b.store.Data_Loaded, answerOn != 0);
    QCOMPARE(b.store.Cancel_Flag, answerOn == 0);
    QCOMPARE(b.saveAs, answerOn != 0);
    QVERIFY(!b.device.isOpen());
    if (answerOn == 0) {
        QCOMPARE(b.store.Transfer_Error, qint16(3));
        QCOMPARE(b.now, times.last() + waitMs + 1);
    } else {
        // The attempt counter, then -1 once bytes come in.
        QCOMPARE(b.lastAttemptError, answerOn - 1);
        QCOMPARE(b.errorAtReception, -1);
    }
}

void tst_Transfer::portSetUpOrder_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<QStringList>("expected");
    const QStringList slow = {"port 2", "settings 4800,N,8,1", "dtr 0", "open", "write 01", "close", "clear"};
    QTest::newRow("3.5") << 3 << (slow + QStringList{"settings 19200,N,8,1", "dtr 0", "open", "dtr 1"});
    QTest::newRow("4.0") << 4 << (slow + QStringList{"settings 56000,N,8,1", "dtr 0", "open", "dtr 1"});
    const QStringList fast = {"port 2",   "clear", "settings 56000,N,8,1", "dtr 0", "open",
                              "write 01", "dtr 1"};
    QTest::newRow("5.X") << 5 << fast;
    QTest::newRow("KVL 36") << 70 << fast;
}

void tst_Transfer::portSetUpOrder()
{
    QFETCH(int, version);
    QFETCH(QStringList, expected);
    Bench b(version);
    b.device.answerOnAttempt = 0;
    QVERIFY(!b.run([&b] { return b.now >= Transfer::QuietMs + 10; }));
    QCOMPARE(b.device.calls, expected);
}

void tst_Transfer::failures_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<int>("missing");     // bytes of the image never sent
    QTest::addColumn<int>("extra");       // bytes sent after the image
    QTest::addColumn<int>("vanishAfter"); // image bytes before the port goes; 0: before answering
    QTest::addColumn<int>("paramSize");
    QTest::addColumn<int>("paramOn");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("waits"); // time-out waits of reception; -1: not counted
    QTest::addColumn<int>("paramCommands");
    for (int v : {3, 4, 5}) {
        QTest::addRow("%d ten bytes short", v) << v << 10 << 0 << -1 << 514 << 1 << 4 << 5 << 0;
        QTest::addRow("%d one byte short", v) << v << 1 << 0 << -1 << 514 << 1 << 4 << 5 << 0;
        QTest::addRow("%d one byte too many", v) << v << 0 << 1 << -1 << 514 << 1 << 4 << 5 << 0;
        QTest::addRow("%d a chunk too many", v) << v << 0 << 20000 << -1 << 514 << 1 << 4 << 5 << 0;
        // Silent mid-image: given up after ten seconds without a byte.
        QTest::addRow("%d silent mid-image", v)
            << v << kvlsim::memorySize(v) - 30000 << 0 << -1 << 514 << 1 << 4 << -1 << 0;
    }
    QTest::newRow("3.5 513-byte parameter answer") << 3 << 0 << 0 << -1 << 513 << 1 << 1 << 2 << 1;
    QTest::newRow("3.5 515-byte parameter answer") << 3 << 0 << 0 << -1 << 515 << 1 << 1 << 2 << 1;
    QTest::newRow("3.5 no parameter answer") << 3 << 0 << 0 << -1 << 514 << 0 << 2 << -1 << 3;
    QTest::newRow("3.5 parameters on the third request") << 3 << 0 << 0 << -1 << 514 << 3 << 0 << -1 << 3;
    // A port that goes away ends it at once, not after the time-out waits.
    QTest::newRow("5.X port gone during reception") << 5 << 0 << 0 << 60000 << 514 << 1 << 4 << 0 << 0;
    QTest::newRow("5.X port gone in the final stage") << 5 << 0 << 0 << 130000 << 514 << 1 << 4 << -1 << 0;
    QTest::newRow("4.0 port gone as the answer starts") << 4 << 0 << 0 << 1000 << 514 << 1 << 3 << 0 << 0;
    QTest::newRow("3.5 port gone during reception") << 3 << 0 << 0 << 40000 << 514 << 1 << 4 << 0 << 0;
    // No further attempt on a port that is gone.
    QTest::newRow("5.X port gone before answering") << 5 << 0 << 0 << 0 << 514 << 1 << 3 << 0 << 0;
}

void tst_Transfer::failures()
{
    QFETCH(int, version);
    QFETCH(int, missing);
    QFETCH(int, extra);
    QFETCH(int, vanishAfter);
    QFETCH(int, paramSize);
    QFETCH(int, paramOn);
    QFETCH(int, code);
    QFETCH(int, waits);
    QFETCH(int, paramCommands);
    Bench b(version);
    if (missing)
        b.device.stopAfter = kvlsim::memorySize(version) - missing;
    b.device.extra = QByteArray(extra, char(0x55));
    b.device.vanishAfter = vanishAfter;
    b.device.paramAnswer = b.device.paramAnswer.leftJustified(paramSize, char(0x12), true);
    b.device.paramAnswerOnAttempt = paramOn;
    b.store.Leq_Records(1, 1) = 77;
    if (vanishAfter == 0) {
        b.device.answerOnAttempt = 0;
        QVERIFY(!b.run([&b] { return b.now == Transfer::QuietMs + 100; }));
        b.device.vanish();
    }
    QVERIFY(b.run());
    QCOMPARE(int(b.device.commands.count(0x01)), 1);
    QCOMPARE(int(b.device.commands.count(0x03)), paramCommands);
    QVERIFY(!b.device.isOpen());
    QCOMPARE(b.store.Data_Loaded, code == 0);
    QCOMPARE(b.store.Cancel_Flag, code != 0);
    if (code == 0)
        return;
    QCOMPARE(b.store.Transfer_Error, qint16(code));
    if (waits >= 0)
        QCOMPARE(b.receiveWaits, waits);
    // Nothing decoded.
    QCOMPARE(b.store.Leq_Records(1, 1), qint16(77));
}

void tst_Transfer::cancel_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<QString>("when");
    for (int version : {3, 5})
        for (const char *when : {"connection", "reception", "time-out wait", "sorting"})
            QTest::addRow("%d %s", version, when) << version << QString::fromLatin1(when);
    // Silent before the final stage: the user may cancel before the silence time-out.
    QTest::newRow("5 stalled reception") << 5 << "stalled";
}

void tst_Transfer::cancel()
{
    QFETCH(int, version);
    QFETCH(QString, when);
    Bench b(version);
    if (when == "connection")
        b.device.answerOnAttempt = 0;
    if (when == "time-out wait")
        b.device.stopAfter = kvlsim::memorySize(version) - 100;
    if (when == "stalled")
        b.device.stopAfter = 50000;
    b.store.Leq_Records(1, 1) = 77;

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
    if (when == "stalled") {
        QCOMPARE(b.transfer->state(), State::Receive);
        QCOMPARE(b.store.Transfer_Error, qint16(-1));
    }
    b.userCancel();
    const qint64 cancelledAt = b.now;
    QVERIFY(b.run());
    // It stops at its next check: at most one wait later.
    QVERIFY(b.now - cancelledAt <= 751);
    QCOMPARE(b.store.Transfer_Error, qint16(0));
    QVERIFY(b.store.Cancel_Flag);
    QVERIFY(!b.store.Data_Loaded);
    QVERIFY(!b.saveAs);
    QVERIFY(!b.device.isOpen());
    if (when != "sorting")
        QCOMPARE(b.store.Leq_Records(1, 1), qint16(77));
}

void tst_Transfer::completeDownload_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<int>("transmission");
    QTest::addColumn<int>("filing");
    QTest::addColumn<int>("whole");
    QTest::newRow("3.5") << 3 << 24 << 103 << 127;
    QTest::newRow("4.0") << 4 << 37 << 151 << 188;
    QTest::newRow("5.X") << 5 << 55 << 164 << 219;
    QTest::newRow("KVL 36") << 70 << 55 << 164 << 219;
}

void tst_Transfer::completeDownload()
{
    QFETCH(int, version);
    QFETCH(int, transmission);
    QFETCH(int, filing);
    QFETCH(int, whole);
    Bench b(version, 21);
    QVERIFY(b.run());
    const Store &s = b.store;
    QVERIFY(s.Data_Loaded);
    QVERIFY(!s.Cancel_Flag);
    QVERIFY(b.saveAs);
    const kvlsim::DeviceMemory mem = kvlsim::generateDevice(version, 21, 3);
    const QString mismatch = test::storeMismatch(s, mem);
    QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));

    QCOMPARE(b.bars.transmission.val(), transmission);
    QCOMPARE(b.bars.classement.val(), filing);
    QCOMPARE(b.bars.traitement.val(), whole);
    QCOMPARE(b.bars.labelPourcentage, QStringLiteral("Data filing Realized at 100 %."));
    QCOMPARE(b.bars.labelTransmission, QStringLiteral("Transmission Completed !!!"));
    QCOMPARE(b.bars.labelClassement, QStringLiteral("Filing Completed  !!!"));
    QVERIFY(b.bars.transmitOkVisible && b.bars.classementOkVisible);

    // The final wait shows the completed window for at least 1500 ms.
    QVERIFY(b.now >= 1500);
    if (version >= 5) {
        QCOMPARE(s.Transfer_Date, QStringLiteral("06/12/2026"));
        QCOMPARE(s.Transfer_Time, QStringLiteral("09:05:03"));
        QVERIFY(s.Default_Leq_Day.isEmpty());
    } else {
        const auto &p = mem.paramBlock;
        QCOMPARE(s.Default_Leq_Day, QString::number(blockLevel(p, block::LeqDay)));
        QCOMPARE(s.Default_Leq_Night, QString::number(blockLevel(p, block::LeqNight)));
        QCOMPARE(s.Default_Hour_Day_Night, QString::number(p[block::HourDayNight]));
        QCOMPARE(s.Default_Hour_Night_Day, QString::number(p[block::HourNightDay]));
        QVERIFY(s.Transfer_Date.isEmpty());
    }
}

void tst_Transfer::progressTexts_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<int>("steps");
    QTest::addColumn<int>("t");
    QTest::addColumn<int>("c");
    QTest::addColumn<QString>("percentage");
    QTest::addColumn<QString>("classementLabel");
    const QString waiting = QStringLiteral("Waiting the end of transmission ...");
    const QString filing = QStringLiteral("Data Filing ...");
    const QString completed = QStringLiteral("Filing Completed  !!!");
    QTest::newRow("3.5 one step") << 3 << 1 << 1 << 0 << "Data filing Realized at 00 %." << waiting;
    QTest::newRow("3.5 seven per cent") << 3 << 9 << 9 << 0 << "Data filing Realized at 07 %." << waiting;
    QTest::newRow("3.5 ten per cent") << 3 << 13 << 13 << 0 << "Data filing Realized at 10 %." << waiting;
    // The step that fills stage 1 also moves stage 2 by two.
    QTest::newRow("3.5 stage 1 full") << 3 << 24 << 24 << 2 << "Data filing Realized at 20 %." << filing;
    QTest::newRow("3.5 stage 2 full")
        << 3 << 125 << 24 << 103 << "Data filing Realized at 100 %." << completed;
    QTest::newRow("3.5 surplus steps")
        << 3 << 200 << 24 << 103 << "Data filing Realized at 100 %." << completed;
    QTest::newRow("5.X stage 1 full") << 5 << 55 << 55 << 2 << "Data filing Realized at 26 %." << filing;
}

void tst_Transfer::progressTexts()
{
    QFETCH(int, version);
    QFETCH(int, steps);
    QFETCH(int, t);
    QFETCH(int, c);
    QFETCH(QString, percentage);
    QFETCH(QString, classementLabel);
    Store store;
    TransferProgress bars;
    bars.reset(version);
    for (int i = 0; i < steps; ++i)
        bars.Avancer_Progression(store);
    QCOMPARE(store.Progress_Step, qint16(steps));
    QCOMPARE(bars.transmission.val(), t);
    QCOMPARE(bars.classement.val(), c);
    QCOMPARE(bars.traitement.val(), t + c);
    QCOMPARE(bars.labelPourcentage, percentage);
    QCOMPARE(bars.labelClassement, classementLabel);
}

void tst_Transfer::lineSettings_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("baud");
    QTest::addColumn<int>("stopBits");
    QTest::newRow("non-standard speed") << "56000,N,8,1" << true << 56000 << 1;
    QTest::newRow("two stop bits, even") << "9600,e,7,2" << true << 9600 << 2;
    QTest::newRow("missing field") << "56000,N,8" << false << 0 << 1;
    QTest::newRow("bad parity") << "56000,X,8,1" << false << 56000 << 1;
    QTest::newRow("no speed") << ",N,8,1" << false << 0 << 1;
    QTest::newRow("three stop bits") << "56000,N,8,3" << false << 56000 << 3;
}

void tst_Transfer::lineSettings()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(int, baud);
    QFETCH(int, stopBits);
    const LineSettings s = parseLineSettings(text);
    QCOMPARE(s.ok, ok);
    QCOMPARE(s.baud, baud);
    QCOMPARE(s.stopBits, stopBits);
}

void tst_Transfer::silenceEndsReception()
{
    // Exactly ten seconds after the last byte, with the port closed and nothing decoded.
    Bench b(5);
    b.device.stopAfter = 50000;
    b.store.Leq_Records(1, 1) = 77;
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
    QCOMPARE(seen, 50000);
    QCOMPARE(b.now, lastByte + Transfer::SilenceMs);
    QCOMPARE(b.store.Transfer_Error, qint16(4));
    QVERIFY(b.store.Cancel_Flag && !b.store.Data_Loaded && !b.device.isOpen());
    QCOMPARE(b.store.Leq_Records(1, 1), qint16(77));
    QCOMPARE(b.transfer->failureReason(), QStringLiteral("Nothing arrived for 10 s."));
}

void tst_Transfer::implausibleImage_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<int>("offset"); // into the image; beyond it: into the 3.5 parameter answer
    QTest::addColumn<int>("byte");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("fault");
    const int serial5 = ParamArea5 + 2360, serial4 = ParamArea40 + 2360;
    QTest::newRow("5.X firmware digit") << 5 << ParamArea5 + 160 << 0xFF << 4 << int(ImageFault::Firmware);
    QTest::newRow("KVL 36 firmware digit")
        << 70 << ParamArea5 + 161 << 0x12 << 4 << int(ImageFault::Firmware);
    QTest::newRow("5.X serial number") << 5 << serial5 + 7 << 0xFF << 4 << int(ImageFault::SerialNumber);
    QTest::newRow("4.0 serial number") << 4 << serial4 << 0x3A << 4 << int(ImageFault::SerialNumber);
    QTest::newRow("3.5 serial number")
        << 3 << ImageSize35 + 312 << 0xFF << 1 << int(ImageFault::SerialNumber);
    // The first record of the Leq area, given a valid date.
    QTest::newRow("level hundreds") << 5 << -8 << 0x02 << 4 << int(ImageFault::Level);
    QTest::newRow("level not BCD") << 4 << -7 << 0x5A << 4 << int(ImageFault::Level);
    QTest::newRow("3.5 level") << 3 << -8 << 0x25 << 4 << int(ImageFault::Level);
}

void tst_Transfer::implausibleImage()
{
    QFETCH(int, version);
    QFETCH(int, offset);
    QFETCH(int, byte);
    QFETCH(int, code);
    QFETCH(int, fault);
    Bench b(version);
    QByteArray &image = b.device.image;
    if (offset < 0) {
        // Record 1: 12:30 on 15/06/26, level 85 dB, then the byte under test.
        const char record[8] = {0x30, 0x12, 0x15, 0x0A, 0x06, 0x26, char(0x85), 0x00};
        image.replace(0, 8, QByteArray(record, 8));
        image[-offset - 1] = char(byte);
    } else if (offset >= ImageSize35 && version == 3) {
        b.device.paramAnswer[offset - ImageSize35] = char(byte);
    } else {
        image[offset] = char(byte);
    }
    b.store.Leq_Records(1, 1) = 77;
    QVERIFY(b.run());
    QCOMPARE(b.store.Transfer_Error, qint16(code));
    QVERIFY(b.store.Cancel_Flag && !b.store.Data_Loaded && !b.device.isOpen());
    QCOMPARE(int(b.transfer->imageFault()), fault);
    QCOMPARE(b.store.Leq_Records(1, 1), qint16(77));
}

void tst_Transfer::earlierAnswerStillComing_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<int>("tail"); // bytes of an earlier answer still on their way
    for (int version : {3, 4, 5, 70}) {
        QTest::addRow("%d, a few bytes", version) << version << 40;
        QTest::addRow("%d, most of an image", version) << version << 90000;
    }
}

void tst_Transfer::earlierAnswerStillComing()
{
    // A transfer cancelled mid-image leaves the device sending; the next one
    // waits for the line to fall quiet, then gets a clean answer.
    QFETCH(int, version);
    QFETCH(int, tail);
    Bench b(version);
    const QByteArray earlier = b.device.image.right(tail);
    b.device.startSending(earlier);
    QVERIFY(b.run());
    QCOMPARE(test::storeMismatch(b.store, b.mem), QString());
    QVERIFY(b.store.Data_Loaded && !b.store.Cancel_Flag);
    const qint64 tailEnd = (earlier.size() + b.device.bytesPerMs - 1) / b.device.bytesPerMs;
    QCOMPARE(b.device.commands.first(), quint8(0x01));
    QVERIFY(b.device.commandTimes.first() >= tailEnd + Transfer::QuietMs - 1);
    QVERIFY(b.device.commandTimes.first() <= tailEnd + Transfer::QuietMs + 2);
    QVERIFY(b.transfer->discarded() > 0);
}

QTEST_GUILESS_MAIN(tst_Transfer)
#include "tst_transfer.moc"
