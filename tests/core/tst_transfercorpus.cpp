// Replays the transfer's fuzz corpus: every tape ends, with the port closed,
// and loads data only from a whole, plausible image that came after the command.

#include "../../fuzz/TransferTape.h"
#include "Generator.h"

#include <QDir>
#include <QtTest>

#include <memory>

using namespace kvl;

class TestTransferCorpus : public QObject
{
    Q_OBJECT
private slots:
    void corpus_data()
    {
        QTest::addColumn<QByteArray>("tape");
        const QDir corpus(qEnvironmentVariable("KVL_TEST_DATA") + QStringLiteral("/transfer-corpus"));
        const QStringList files = corpus.entryList(QDir::Files, QDir::Name);
        QVERIFY2(files.size() >= 5, qPrintable(corpus.path()));
        for (const QString &f : files) {
            QFile file(corpus.filePath(f));
            QVERIFY(file.open(QIODevice::ReadOnly));
            QTest::newRow(qPrintable(f)) << file.readAll();
        }
    }
    void corpus()
    {
        QFETCH(QByteArray, tape);
        auto store = std::make_unique<Store>();
        const char *broken = tape::runTape(reinterpret_cast<const uint8_t *>(tape.constData()),
                                           std::size_t(tape.size()), *store);
        QVERIFY2(!broken, broken);
    }

    // The fuzzer's seeds: a whole simulated image of each firmware loads, so
    // its mutations start past the reception, in the decoding.
    void wholeImageSeeds_data()
    {
        QTest::addColumn<int>("version");
        for (int version : {Version35, Version40, Version5X, VersionKvl36})
            QTest::newRow(qPrintable(QString::number(version))) << version;
    }
    void wholeImageSeeds()
    {
        QFETCH(int, version);
        const kvlsim::DeviceMemory mem = kvlsim::generateDevice(version, quint32(version), 1);
        const QByteArray tape = tape::wholeImageTape(version, mem.image, mem.paramAnswer);
        QVERIFY(!tape.isEmpty());
        QCOMPARE(tape::versionOf(quint8(tape[0])), version);
        auto store = std::make_unique<Store>();
        QVERIFY(!tape::runTape(reinterpret_cast<const uint8_t *>(tape.constData()), std::size_t(tape.size()),
                               *store));
        QVERIFY(store->Data_Loaded);
        QCOMPARE(store->Device_Version, qint16(version));
    }
};

QTEST_APPLESS_MAIN(TestTransferCorpus)
#include "tst_transfercorpus.moc"
