// Replays the transfer's fuzz corpus, and whole images of each firmware cut
// into arrivals: every tape ends, with the port closed, and loads data only
// from a whole, plausible image that came after the command.

#include "../../fuzz/TransferTape.h"
#include "Generator.h"

#include <QDir>
#include <QtTest>

#include <memory>

using namespace kvl;

namespace {

// A tape of an image (and the 3.5 parameter answer) arriving in pieces
// once the command has gone out.
QByteArray wholeImageTape(int version, int piece)
{
    const kvlsim::DeviceMemory mem = kvlsim::generateDevice(version, 5, 1);
    QByteArray tape(1, char(version == 3 ? 0 : version == 4 ? 1 : version == 5 ? 2 : 3));
    auto arrive = [&tape](int delayUnits, const QByteArray &bytes) {
        tape += char(delayUnits);
        tape += char(bytes.size() & 0xFF);
        tape += char(bytes.size() >> 8);
        tape += bytes;
    };
    // The first bytes come after the quiet wait and the command.
    int delay = 40;
    for (int at = 0; at < mem.image.size(); at += piece, delay = 1)
        arrive(delay, mem.image.mid(at, piece));
    if (version == 3)
        arrive(60, mem.paramAnswer);
    return tape;
}

} // namespace

class TestTransferCorpus : public QObject
{
    Q_OBJECT
private slots:
    void corpus_data()
    {
        QTest::addColumn<QByteArray>("tape");
        QTest::addColumn<bool>("loads");
        const QDir corpus(qEnvironmentVariable("KVL_TEST_DATA") + QStringLiteral("/transfer-corpus"));
        const QStringList files = corpus.entryList(QDir::Files, QDir::Name);
        QVERIFY2(files.size() >= 5, qPrintable(corpus.path()));
        for (const QString &f : files) {
            QFile file(corpus.filePath(f));
            QVERIFY(file.open(QIODevice::ReadOnly));
            // The corpus is what the fuzzer kept; whether it loads is not known.
            QTest::newRow(qPrintable(f)) << file.readAll() << false;
        }
        for (int version : {3, 4, 5, 70})
            for (int piece : {4000, 16000})
                QTest::addRow("whole image %d in pieces of %d", version, piece)
                    << wholeImageTape(version, piece) << true;
    }
    void corpus()
    {
        QFETCH(QByteArray, tape);
        QFETCH(bool, loads);
        auto store = std::make_unique<Store>();
        const char *broken = tape::runTape(reinterpret_cast<const uint8_t *>(tape.constData()),
                                           std::size_t(tape.size()), *store);
        QVERIFY2(!broken, broken);
        if (loads)
            QVERIFY(store->Data_Loaded);
    }
};

QTEST_APPLESS_MAIN(TestTransferCorpus)
#include "tst_transfercorpus.moc"
