// Replays the loader's fuzz corpus and the sample files: every input gives a
// loaded store or a message, and a loaded store saves and loads back the same.

#include "files/DataFile.h"
#include "store/Store.h"

#include <QDir>
#include <QtTest>

#include <memory>

using namespace kvl;

class TestLoaderCorpus : public QObject
{
    Q_OBJECT
private slots:

    void corpus_data()
    {
        QTest::addColumn<QString>("path");
        const QDir corpus(qEnvironmentVariable("KVL_TEST_DATA") + QStringLiteral("/loader-corpus"));
        const QStringList files = corpus.entryList(QDir::Files, QDir::Name);
        QVERIFY2(files.size() >= 10, qPrintable(corpus.path()));
        for (const QString &f : files)
            QTest::newRow(qPrintable(f)) << corpus.filePath(f);
        const QDir samples(qEnvironmentVariable("KVL_SAMPLES"));
        for (const QString &f : samples.entryList({QStringLiteral("*.kvl")}, QDir::Files, QDir::Name))
            QTest::newRow(qPrintable(QStringLiteral("sample ") + f)) << samples.filePath(f);
    }

    void corpus()
    {
        QFETCH(QString, path);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();

        auto s = std::make_unique<Store>();
        const LoadOutcome out = readDataFile(bytes, *s);
        QCOMPARE(s->Data_Loaded, out.result == LoadOutcome::Loaded);
        if (out.result != LoadOutcome::Loaded) {
            QVERIFY(!out.text.isEmpty());
            QVERIFY(!out.caption.isEmpty());
            // Every failure says where: a line of the file and what is wrong there.
            QVERIFY(out.detail.line >= 1 && out.detail.line <= 1 + bytes.count('\n'));
            QVERIFY(!out.detail.problem.isEmpty());
            return;
        }
        const int version = s->Device_Version;
        QVERIFY(!writtenMarker(version).isEmpty());
        auto again = std::make_unique<Store>();
        QCOMPARE(readDataFile(buildDataFile(*s, version), *again).result, LoadOutcome::Loaded);
        QVERIFY(again->Event_Records == s->Event_Records);
        QVERIFY(again->Param_Block == s->Param_Block);
        if (version != Version35)
            QVERIFY(again->Leq_Records == s->Leq_Records);
    }
};

QTEST_APPLESS_MAIN(TestLoaderCorpus)
#include "tst_loadercorpus.moc"
