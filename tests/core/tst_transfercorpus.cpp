// Replays the transfer's fuzz corpus: every tape ends, with the port closed,
// and loads data only from a whole, plausible image that came after the command.

#include "../../fuzz/TransferTape.h"

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
};

QTEST_APPLESS_MAIN(TestTransferCorpus)
#include "tst_transfercorpus.moc"
