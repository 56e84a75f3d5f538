// Every file dialog starts in the folder last used for its kind of file,
// kept across runs; else the documents or pictures folder.

#include "TestSupport.h"
#include "shell/Folders.h"

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace kvl;

class TestFolders : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void kinds_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("kind");
        QTest::newRow("data files") << "KVL 24-2 (*.kvl)|*.kvl"
                                    << "kvl";
        QTest::newRow("images") << "PNG image (*.png)|*.png|SVG drawing (*.svg)|*.svg"
                                << "png";
        QTest::newRow("CSV") << "CSV (*.csv)|*.csv"
                             << "csv";
    }
    void kinds()
    {
        QFETCH(QString, filter);
        QFETCH(QString, kind);
        QCOMPARE(fileKind(filter), kind);
    }

    void lastFolderOfEachKind()
    {
        QTemporaryDir data, images;
        rememberFolder(QStringLiteral("kvl"), data.filePath(QStringLiteral("week.kvl")));
        rememberFolder(QStringLiteral("png"), images.filePath(QStringLiteral("d.png")));
        QCOMPARE(startFolder(QStringLiteral("kvl")), data.path());
        QCOMPARE(startFolder(QStringLiteral("png")), images.path());
        // A kind never used starts in the documents folder, never the program's.
        const QString csv = startFolder(QStringLiteral("csv"));
        QVERIFY(csv != QCoreApplication::applicationDirPath());
        QVERIFY(QFileInfo(csv).isDir());
    }

    void vanishedFolderFallsBack()
    {
        QString gone;
        {
            QTemporaryDir dir;
            gone = dir.path();
            rememberFolder(QStringLiteral("csv"), dir.filePath(QStringLiteral("a.csv")));
            QCOMPARE(startFolder(QStringLiteral("csv")), gone);
        }
        QVERIFY(startFolder(QStringLiteral("csv")) != gone);
        QVERIFY(QFileInfo(startFolder(QStringLiteral("csv"))).isDir());
    }
};

QTEST_GUILESS_MAIN(TestFolders)
#include "tst_folders.moc"
