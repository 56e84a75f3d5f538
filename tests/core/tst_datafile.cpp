// Data file writer and reader: layout, round trips, markers, token limits,
// truncated files.

#include "files/DataFile.h"
#include "store/Store.h"

#include <QFile>
#include <QRandomGenerator>
#include <QtTest>

#include <memory>

using namespace kvl;

namespace {

// A store with every table filled with device bytes from a seed.
std::unique_ptr<Store> randomStore(quint32 seed)
{
    auto s = std::make_unique<Store>();
    QRandomGenerator rng(seed);
    auto byte = [&rng] { return qint16(rng.bounded(256)); };
    for (int r = 1; r <= LeqTable::rowCount; ++r)
        for (int f = 1; f <= 8; ++f)
            s->Leq_Records(r, f) = byte();
    for (int r = 1; r <= EventTable::rowCount; ++r)
        for (int f = 1; f <= 8; ++f)
            s->Event_Records(r, f) = byte();
    for (int r = 1; r <= HistoryTable::rowCount; ++r)
        for (int f = 1; f <= 48; ++f)
            s->Param_History(r, f) = byte();
    for (int i = 0; i < ParamBlockTable::size; ++i)
        s->Param_Block[i] = byte();
    for (int i = 0; i < ParamRawTable::size; ++i)
        s->Param_Raw[i] = byte();
    s->Transfer_Date = QStringLiteral("%1/%2/20%3")
                           .arg(rng.bounded(1, 29), 2, 10, QLatin1Char('0'))
                           .arg(rng.bounded(1, 13), 2, 10, QLatin1Char('0'))
                           .arg(rng.bounded(0, 99), 2, 10, QLatin1Char('0'));
    s->Transfer_Time = QStringLiteral("%1:%2:%3")
                           .arg(rng.bounded(24), 2, 10, QLatin1Char('0'))
                           .arg(rng.bounded(60), 2, 10, QLatin1Char('0'))
                           .arg(rng.bounded(60), 2, 10, QLatin1Char('0'));
    return s;
}

QList<QByteArray> lines(const QByteArray &file)
{
    QList<QByteArray> out = file.split('\n');
    return out;
}

// The file of an all-zero store of a version.
QByteArray zeroFile(int version)
{
    Store s;
    s.Transfer_Date = QStringLiteral("06/12/2026");
    s.Transfer_Time = QStringLiteral("14:05:09");
    return buildDataFile(s, version);
}

// Offset of the n-th CR LF (1-based).
int lineEnd(const QByteArray &file, int n)
{
    int at = -2;
    for (int i = 0; i < n; ++i)
        at = file.indexOf("\r\n", at + 2);
    return at;
}

QString dataPath(const QString &name)
{
    return qEnvironmentVariable("KVL_TEST_DATA") + QLatin1Char('/') + name;
}

} // namespace

class TestDataFile : public QObject
{
    Q_OBJECT
private slots:
    void lineLayout_data();
    void lineLayout();
    void referenceFile();
    void roundTrip_data();
    void roundTrip();
    void fieldsNotCarriedKeepTheirContent_data();
    void fieldsNotCarriedKeepTheirContent();
    void version3RebuildsParamBlock();
    void markers_data();
    void markers();
    void tokenLimits_data();
    void tokenLimits();
    void dateToken_data();
    void dateToken();
    void truncated_data();
    void truncated();
    void failureKeepsFileVersion();
    void captions_data();
    void captions();
};

void TestDataFile::lineLayout_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<QByteArray>("marker");
    QTest::addColumn<int>("lineCount");
    QTest::addColumn<int>("leqValues");
    QTest::addColumn<int>("paramValues");
    QTest::addColumn<bool>("paramTrailingBlank");

    QTest::newRow("3") << 3
                       << QByteArray("donn\xE9"
                                     "es_d_un_KVL_24-2!!!")
                       << 4 << 4096 * 8 << 514 << true;
    QTest::newRow("4") << 4 << QByteArray("KVL_24-2_Data_for_Version_4!!!") << 4 << 8192 * 8 << 2560 << true;
    QTest::newRow("5") << 5 << QByteArray("KVL_24-2_Data_for_Version_5!!!") << 6 << 8192 * 8 << 2560 << false;
    QTest::newRow("70") << 70 << QByteArray("KVL_36_Data_for_Version_1!!!") << 6 << 8192 * 8 << 2560 << false;
}

void TestDataFile::lineLayout()
{
    QFETCH(int, version);
    QFETCH(QByteArray, marker);
    QFETCH(int, lineCount);
    QFETCH(int, leqValues);
    QFETCH(int, paramValues);
    QFETCH(bool, paramTrailingBlank);

    const QByteArray file = zeroFile(version);
    QVERIFY(file.endsWith("\r\n"));
    QList<QByteArray> ls = lines(file);
    QCOMPARE(ls.takeLast(), QByteArray()); // nothing after the last CR LF
    QCOMPARE(ls.size(), lineCount);
    for (QByteArray &l : ls) {
        QVERIFY(l.endsWith('\r'));
        l.chop(1);
    }
    QCOMPARE(ls[0], marker);
    // Every value line starts with a blank and holds single-blank separated values.
    auto valuesOf = [](const QByteArray &l) { return l.mid(1).split(' '); };
    QVERIFY(ls[1].startsWith(' ') && !ls[1].endsWith(' '));
    QCOMPARE(valuesOf(ls[1]).size(), leqValues);
    QVERIFY(ls[2].startsWith(' ') && !ls[2].endsWith(' '));
    QCOMPARE(valuesOf(ls[2]).size(), 4096 * 8);
    QCOMPARE(ls[3].endsWith(' '), paramTrailingBlank);
    QByteArray params = ls[3];
    if (paramTrailingBlank)
        params.chop(1);
    QCOMPARE(valuesOf(params).size(), paramValues);
    if (lineCount == 6) {
        QVERIFY(ls[4].endsWith(" 0 "));
        QCOMPARE(valuesOf(ls[4].chopped(1)).size(), 682 * 48);
        QCOMPARE(ls[5], QByteArray("06/12/2026_14:05:09 "));
    }
}

// A small known store, byte for byte against a file written by hand.
void TestDataFile::referenceFile()
{
    Store s;
    const qint16 leq1[8] = {10, 22, 5, 10, 3, 8, 87, 0};
    const qint16 leq2[8] = {20, 22, 5, 10, 3, 8, 2, 1};
    std::copy(leq1, leq1 + 8, s.Leq_Records.row(1));
    std::copy(leq2, leq2 + 8, s.Leq_Records.row(2));
    std::fill(s.Leq_Records.row(8192), s.Leq_Records.row(8192) + 8, qint16(255));
    const qint16 ev[8] = {0, 23, 5, 4, 3, 8, 1, 0};
    std::copy(ev, ev + 8, s.Event_Records.row(1));
    s.Param_Block[2176] = 1;
    s.Param_Block[2177] = 2;
    s.Param_Block[2559] = 255;
    s.Param_History(682, 48) = 7;
    s.Transfer_Date = QStringLiteral("05/04/2008");
    s.Transfer_Time = QStringLiteral("09:30:00");

    QFile ref(dataPath(QStringLiteral("reference_v5.kvl")));
    QVERIFY2(ref.open(QIODevice::ReadOnly), qPrintable(ref.fileName()));
    const QByteArray expected = ref.readAll();
    const QByteArray actual = buildDataFile(s, 5);
    QCOMPARE(actual.size(), expected.size());
    QVERIFY(actual == expected);
}

void TestDataFile::roundTrip_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<quint32>("seed");
    for (int v : {3, 4, 5, 70})
        for (quint32 seed : {1u, 2u})
            QTest::addRow("v%d seed %u", v, seed) << v << seed;
}

void TestDataFile::roundTrip()
{
    QFETCH(int, version);
    QFETCH(quint32, seed);
    const auto saved = randomStore(seed);
    const QByteArray file = buildDataFile(*saved, version);

    auto loaded = randomStore(seed + 100);
    loaded->Device_Version = 5;
    const LoadOutcome out = readDataFile(file, *loaded);
    QCOMPARE(out.result, LoadOutcome::Loaded);
    QVERIFY(loaded->Data_Loaded);
    QVERIFY(!loaded->Cancel_Flag);
    QCOMPARE(loaded->Device_Version, qint16(version));

    const int leqRows = version == 3 ? 4096 : 8192;
    for (int r = 1; r <= leqRows; ++r)
        for (int f = 1; f <= 8; ++f)
            QCOMPARE(loaded->Leq_Records(r, f), saved->Leq_Records(r, f));
    QVERIFY(loaded->Event_Records == saved->Event_Records);
    if (version == 3) {
        QVERIFY(loaded->Param_Raw == saved->Param_Raw);
    } else {
        QVERIFY(loaded->Param_Block == saved->Param_Block);
    }
    if (version == 5 || version == 70) {
        QVERIFY(loaded->Param_History == saved->Param_History);
        QCOMPARE(loaded->Transfer_Date, saved->Transfer_Date);
        QCOMPARE(loaded->Transfer_Time, saved->Transfer_Time.left(5));
    }
}

void TestDataFile::fieldsNotCarriedKeepTheirContent_data()
{
    QTest::addColumn<int>("version");
    for (int v : {3, 4, 5, 70})
        QTest::addRow("v%d", v) << v;
}

void TestDataFile::fieldsNotCarriedKeepTheirContent()
{
    QFETCH(int, version);
    const QByteArray file = zeroFile(version);
    const auto before = randomStore(7);
    auto s = randomStore(7);
    QCOMPARE(readDataFile(file, *s).result, LoadOutcome::Loaded);

    if (version == 3) {
        for (int r = 4097; r <= 8192; ++r)
            for (int f = 1; f <= 8; ++f)
                QCOMPARE(s->Leq_Records(r, f), before->Leq_Records(r, f));
        QCOMPARE(s->Leq_Records(4096, 8), qint16(0));
    }
    if (version == 3 || version == 4) {
        QVERIFY(s->Param_History == before->Param_History);
        QCOMPARE(s->Transfer_Date, before->Transfer_Date);
        QCOMPARE(s->Transfer_Time, before->Transfer_Time);
    } else {
        QVERIFY(s->Param_Raw == before->Param_Raw);
        QCOMPARE(s->Transfer_Date, QStringLiteral("06/12/2026"));
        QCOMPARE(s->Transfer_Time, QStringLiteral("14:05"));
    }
    if (version == 4)
        QVERIFY(s->Param_Raw == before->Param_Raw);
}

void TestDataFile::version3RebuildsParamBlock()
{
    auto saved = randomStore(3);
    const QByteArray file = buildDataFile(*saved, 3);
    auto s = randomStore(4);
    QCOMPARE(readDataFile(file, *s).result, LoadOutcome::Loaded);
    for (int i = 0; i < 2560; ++i) {
        qint16 expected = 255;
        if (i >= 2048)
            expected = saved->Param_Raw[i - 2048];
        else if (i == 6)
            expected = saved->Param_Raw[512];
        else if (i == 7)
            expected = saved->Param_Raw[513];
        QCOMPARE(s->Param_Block[i], expected);
    }
    QCOMPARE(s->Leq_Count, 4096);
}

void TestDataFile::markers_data()
{
    QTest::addColumn<QByteArray>("marker");
    QTest::addColumn<int>("bodyVersion");
    QTest::addColumn<int>("expected"); // 0 = rejected

    QTest::newRow("v3") << QByteArray("donn\xE9"
                                      "es_d_un_KVL_24-2!!!")
                        << 3 << 3;
    QTest::newRow("v4 written") << QByteArray("KVL_24-2_Data_for_Version_4!!!") << 4 << 4;
    QTest::newRow("v4 french") << QByteArray("donn\xE9"
                                             "es_d_un_KVL_24-2_Version4!!!")
                               << 4 << 4;
    QTest::newRow("v4 french apostrophe") << QByteArray("donn\xE9"
                                                        "es_d'un_KVL_24-2_Version4!!!")
                                          << 4 << 4;
    QTest::newRow("v5 written") << QByteArray("KVL_24-2_Data_for_Version_5!!!") << 5 << 5;
    QTest::newRow("v5 french") << QByteArray("Donn\xE9"
                                             "es_d'un_KVL_24-2_Version_5!!!")
                               << 5 << 5;
    QTest::newRow("v70") << QByteArray("KVL_36_Data_for_Version_1!!!") << 70 << 70;

    QTest::newRow("blank before !!!") << QByteArray("KVL_24-2_Data_for_Version_4 !!!") << 4 << 0;
    QTest::newRow("lower case") << QByteArray("kvl_24-2_data_for_version_5!!!") << 5 << 0;
    QTest::newRow("utf-8 e acute") << QByteArray("donn\xC3\xA9"
                                                 "es_d'un_KVL_24-2_Version4!!!")
                                   << 4 << 0;
    QTest::newRow("v3 with capital D") << QByteArray("Donn\xE9"
                                                     "es_d_un_KVL_24-2!!!")
                                       << 3 << 0;
    QTest::newRow("two marks") << QByteArray("KVL_36_Data_for_Version_1!!") << 70 << 0;
    QTest::newRow("empty") << QByteArray() << 5 << 0;
}

void TestDataFile::markers()
{
    QFETCH(QByteArray, marker);
    QFETCH(int, bodyVersion);
    QFETCH(int, expected);

    QByteArray file = zeroFile(bodyVersion);
    file = marker + file.mid(file.indexOf("\r\n"));
    auto s = randomStore(9);
    const auto before = randomStore(9);
    s->Device_Version = 5;
    s->Data_Loaded = true;
    const LoadOutcome out = readDataFile(file, *s);
    if (expected == 0) {
        QCOMPARE(out.result, LoadOutcome::NotKvlFile);
        QCOMPARE(out.text, QStringLiteral("It is not a KVL 24-2/36 file !!!!"));
        QCOMPARE(out.caption, QStringLiteral("It is impossible to open this file"));
        QVERIFY(!s->Data_Loaded);
        QCOMPARE(s->Device_Version, qint16(5));
        QVERIFY(s->Leq_Records == before->Leq_Records);
        QVERIFY(s->Param_Block == before->Param_Block);
    } else {
        QCOMPARE(out.result, LoadOutcome::Loaded);
        QCOMPARE(s->Device_Version, qint16(expected));
    }
}

// The last value of a line carries the CR LF and is closed by the next
// line's blank: 255 there is 6 characters and passes, 1000 is 7 and fails.
void TestDataFile::tokenLimits_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<int>("line"); // which line's last value is replaced (2 = Leq)
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QString>("failure"); // empty = loads

    const QString v24 = QStringLiteral("It is not a KVL 24-2 file !!!!");
    const QString v36 = QStringLiteral("It is not a KVL 36 file !!!!");
    QTest::newRow("255 end of Leq line") << 4 << 2 << QByteArray("255") << QString();
    QTest::newRow("1000 end of Leq line") << 4 << 2 << QByteArray("1000") << v24;
    QTest::newRow("255 end of event line v70") << 70 << 3 << QByteArray("255") << QString();
    QTest::newRow("1000 end of event line v70") << 70 << 3 << QByteArray("1000") << v36;
    QTest::newRow("1000 end of param line v5") << 5 << 4 << QByteArray("1000") << v24;
    QTest::newRow("256 is no device byte") << 3 << 2 << QByteArray("256") << v24;
    QTest::newRow("letters") << 5 << 2 << QByteArray("1a") << v24;
    QTest::newRow("negative") << 5 << 2 << QByteArray("-1") << v24;
}

void TestDataFile::tokenLimits()
{
    QFETCH(int, version);
    QFETCH(int, line);
    QFETCH(QByteArray, value);
    QFETCH(QString, failure);

    QByteArray file = zeroFile(version);
    const int end = lineEnd(file, line);
    QCOMPARE(file.at(end - 1), '0');
    file.replace(end - 1, 1, value);

    Store s;
    const LoadOutcome out = readDataFile(file, s);
    if (failure.isEmpty()) {
        QCOMPARE(out.result, LoadOutcome::Loaded);
        QVERIFY(s.Data_Loaded);
        return;
    }
    QCOMPARE(out.result, LoadOutcome::ReadFailure);
    QCOMPARE(out.text, failure);
    QCOMPARE(out.caption, QStringLiteral("It is impossible to read file data"));
    QVERIFY(s.Cancel_Flag);
    QVERIFY(!s.Data_Loaded);
}

void TestDataFile::dateToken_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<QByteArray>("token"); // without its closing blank
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("time");

    QTest::newRow("20 characters") << 5 << QByteArray("06/12/2026_14:05:09") << QString()
                                   << QStringLiteral("06/12/2026") << QStringLiteral("14:05");
    QTest::newRow("21 characters v5")
        << 5 << QByteArray("06/12/2026_14:05:099")
        << QStringLiteral("It is not a KVL 24-2 Version 5.0 file !!!!") << QString() << QString();
    QTest::newRow("21 characters v70")
        << 70 << QByteArray("06/12/2026_14:05:099")
        << QStringLiteral("It is not a KVL 36 Version 5.0 file !!!!") << QString() << QString();
    QTest::newRow("short token") << 70 << QByteArray("1/2/2009_8:5") << QString()
                                 << QStringLiteral("1/2/2009_8") << QStringLiteral("5");
}

void TestDataFile::dateToken()
{
    QFETCH(int, version);
    QFETCH(QByteArray, token);
    QFETCH(QString, failure);
    QFETCH(QString, date);
    QFETCH(QString, time);

    QByteArray file = zeroFile(version);
    file.chop(22);
    file += token + " \r\n";
    Store s;
    const LoadOutcome out = readDataFile(file, s);
    if (!failure.isEmpty()) {
        QCOMPARE(out.result, LoadOutcome::ReadFailure);
        QCOMPARE(out.text, failure);
        QCOMPARE(out.caption, QStringLiteral("It is impossible to read file data"));
        return;
    }
    QCOMPARE(out.result, LoadOutcome::Loaded);
    QCOMPARE(s.Transfer_Date, date);
    QCOMPARE(s.Transfer_Time, time);
}

void TestDataFile::truncated_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<int>("keep"); // bytes kept; negative = from the end
    QTest::addColumn<QString>("failure");

    const QString v24 = QStringLiteral("It is not a KVL 24-2 file !!!!");
    const QString v36 = QStringLiteral("It is not a KVL 36 file !!!!");
    const QString d24 = QStringLiteral("It is not a KVL 24-2 Version 5.0 file !!!!");
    const QString d36 = QStringLiteral("It is not a KVL 36 Version 5.0 file !!!!");

    QTest::newRow("v3 after marker") << 3 << 24 << v24;
    QTest::newRow("v3 marker and CR LF") << 3 << 26 << v24;
    QTest::newRow("v3 mid Leq") << 3 << 1000 << v24;
    QTest::newRow("v3 before last blank") << 3 << -3 << v24;
    QTest::newRow("v3 without final CR LF") << 3 << -2 << QString();
    QTest::newRow("v4 mid events") << 4 << 40000 << v24;
    QTest::newRow("v4 mid params") << 4 << -200 << v24;
    QTest::newRow("v5 mid history") << 5 << -1000 << v24;
    QTest::newRow("v5 before date") << 5 << -22 << d24;
    QTest::newRow("v5 mid date") << 5 << -10 << d24;
    QTest::newRow("v5 date without blank") << 5 << -3 << d24;
    QTest::newRow("v5 without final CR LF") << 5 << -2 << QString();
    QTest::newRow("v70 mid Leq") << 70 << 5000 << v36;
    QTest::newRow("v70 mid date") << 70 << -5 << d36;
    QTest::newRow("v70 empty file") << 70 << 0 << QStringLiteral("It is not a KVL 24-2/36 file !!!!");
}

void TestDataFile::truncated()
{
    QFETCH(int, version);
    QFETCH(int, keep);
    QFETCH(QString, failure);
    const QByteArray full = zeroFile(version);
    const QByteArray file = keep >= 0 ? full.left(keep) : full.chopped(-keep);
    Store s;
    const LoadOutcome out = readDataFile(file, s);
    if (failure.isEmpty()) {
        QCOMPARE(out.result, LoadOutcome::Loaded);
        return;
    }
    QVERIFY(out.result != LoadOutcome::Loaded);
    QCOMPARE(out.text, failure);
    QVERIFY(!s.Data_Loaded);
}

void TestDataFile::failureKeepsFileVersion()
{
    QByteArray file = zeroFile(70);
    file.chop(10);
    Store s;
    s.Device_Version = 3;
    s.Leq_Records.fill(9);
    readDataFile(file, s);
    QCOMPARE(s.Device_Version, qint16(70));
    QVERIFY(s.Cancel_Flag);
    QCOMPARE(s.Leq_Records(8192, 8), qint16(0)); // read before the failure
}

void TestDataFile::captions_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("caption");

    QTest::newRow("3 COM 2")
        << 3 << 2
        << "ORLIN Analysis Software - KVL 24-2 - Version 5.5  |  Com Port : COM 2  |  FirmWare "
           "KVL 24-2 : 3.5  |  Open file actived.";
    QTest::newRow("3 no port")
        << 3 << 0
        << "ORLIN Analysis Software - KVL 24-2 - Version 5.5  |  No COM Port Selected.  |  "
           "FirmWare KVL 24-2 : 3.5  |  Open file actived.";
    QTest::newRow("4 COM 16")
        << 4 << 16
        << "ORLIN Analyser - KVL 24-2 - Version 5.5  |  Com Port  : COM 16  |  FirmWare KVL "
           "24-2 : 4.0  |  Open file actived.";
    QTest::newRow("5 no port")
        << 5 << 0
        << "ORLIN Analyser - KVL 24-2 - Version 5.5  |  No COM Port Selected.  |  FirmWare "
           "KVL 24-2 : 5.X  |  Open file actived.";
    QTest::newRow("70 COM 1")
        << 70 << 1
        << "ORLIN Analyser - KVL 36 - Version 1.1  |  Com Port  : COM 1  |  FirmWare KVL 36 : "
           "1.X  |  Open file actived.";
    QTest::newRow("70 no port")
        << 70 << 0
        << "ORLIN Analyser - KVL 36 - Version 1.1  |  No COM Port Selected.  |  FirmWare KVL "
           "36 : 1.X  |  Open file actived.";
}

void TestDataFile::captions()
{
    QFETCH(int, version);
    QFETCH(int, port);
    QFETCH(QString, caption);
    QCOMPARE(loadCaption(version, port), caption);
}

QTEST_APPLESS_MAIN(TestDataFile)
#include "tst_datafile.moc"
