#include "StoreCheck.h"
#include "TestCore.h"
#include "link/Decode.h"
#include "store/Store.h"

#include <QRandomGenerator>
#include <QSet>
#include <QtTest>

#include <memory>

using namespace kvl;

namespace {

QByteArray emptyImage(int version)
{
    return QByteArray(imageSizeForVersion(version), char(0xFF));
}

std::unique_ptr<Store> storeFor(int version)
{
    auto s = std::make_unique<Store>();
    s->Device_Version = qint16(version);
    return s;
}

QList<int> rowOf(const qint16 *row, int fields)
{
    QList<int> out;
    for (int f = 0; f < fields; ++f)
        out << row[f];
    return out;
}

// A five-pass selection sort on year, month, day, hour and minute: the order
// the device's data is expected in, kept here as the reference.
void referenceSort(std::vector<std::array<int, 8>> &rows)
{
    const int keys[5] = {5, 4, 2, 1, 0};
    const int n = int(rows.size());
    for (int p = 0; p < 5; ++p) {
        for (int i = 0; i < n - 1; ++i) {
            int m = i;
            for (int j = i; j < n; ++j) {
                bool agree = true;
                for (int q = 0; q < p; ++q)
                    agree = agree && rows[j][keys[q]] == rows[m][keys[q]];
                if (agree && rows[j][keys[p]] < rows[m][keys[p]])
                    m = j;
            }
            if (m != i)
                std::swap(rows[i], rows[m]);
        }
    }
}

} // namespace

class TestDecode : public QObject
{
    Q_OBJECT
private slots:
    void bcd_data() { test::addDataRows(QStringLiteral("link/rows.txt"), QStringLiteral("bcd")); }
    void bcd()
    {
        QFETCH(QStringList, c);
        QCOMPARE(kvl::bcd(c[1].toInt(nullptr, 16)), c[2].toInt());
    }

    // Where a byte of each area lands, and whether it stays raw (0x12 read
    // as 18) or is BCD (12); every other byte is 0xFF.
    void layout_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<int>("offset");
        QTest::addColumn<QString>("target"); // table, row or index, field
        QTest::addColumn<int>("value");
        QTest::newRow("3.5 Leq") << 3 << 2 * 8 + 5 << "leq 3 6" << 12;
        QTest::newRow("4.0 last Leq row") << 4 << 8191 * 8 << "leq 8192 1" << 12;
        QTest::newRow("3.5 event") << 3 << EventArea35 + 4 * 8 + 4 << "event 5 5" << 12;
        QTest::newRow("4.0 event code A raw") << 4 << EventArea + 4 * 8 + 6 << "event 5 7" << 18;
        QTest::newRow("KVL 36 event code B raw") << 70 << EventArea + 4095 * 8 + 7 << "event 4096 8" << 18;
        QTest::newRow("5.X history stamp") << 5 << HistoryArea5 + 48 << "history 2 1" << 12;
        QTest::newRow("5.X history field 7 raw") << 5 << HistoryArea5 + 48 + 6 << "history 2 7" << 18;
        QTest::newRow("KVL 36 history field 8 raw") << 70 << HistoryArea5 + 48 + 7 << "history 2 8" << 18;
        QTest::newRow("5.X history field 9") << 5 << HistoryArea5 + 48 + 8 << "history 2 9" << 12;
        QTest::newRow("4.0 last raw parameter") << 4 << ParamArea40 + 2046 << "block 2046" << 18;
        QTest::newRow("4.0 first BCD parameter") << 4 << ParamArea40 + 2047 << "block 2047" << 12;
        QTest::newRow("5.X last raw parameter") << 5 << ParamArea5 + 2046 << "block 2046" << 18;
        QTest::newRow("5.X serial digit") << 5 << ParamArea5 + 2360 << "block 2360" << 12;
        QTest::newRow("3.5 answer, last BCD") << 3 << ImageSize35 + 511 << "raw 511" << 12;
        QTest::newRow("3.5 answer, first raw") << 3 << ImageSize35 + 512 << "raw 512" << 18;
        QTest::newRow("3.5 answer to block") << 3 << ImageSize35 << "block 2048" << 12;
        QTest::newRow("3.5 analysis to block") << 3 << ImageSize35 + 512 << "block 6" << 18;
        QTest::newRow("3.5 source to block") << 3 << ImageSize35 + 513 << "block 7" << 18;
    }
    void layout()
    {
        QFETCH(int, version);
        QFETCH(int, offset);
        QFETCH(QString, target);
        QFETCH(int, value);
        QByteArray image = emptyImage(version);
        image[offset] = char(0x12);
        auto s = storeFor(version);
        s->Leq_Records(8192, 2) = 7; // beyond the 3.5 rows
        QVERIFY(decodeImage(*s, image, {}));
        const QStringList t = target.split(QLatin1Char(' '));
        const int i = t[1].toInt(), f = t.value(2).toInt();
        const int got = t[0] == "leq"       ? s->Leq_Records(i, f)
                        : t[0] == "event"   ? s->Event_Records(i, f)
                        : t[0] == "history" ? s->Param_History(i, f)
                        : t[0] == "block"   ? s->Param_Block[i]
                                            : s->Param_Raw[i];
        QCOMPARE(got, value);
        QCOMPARE(s->Leq_Records(8192, 2), qint16(version == 3 ? 7 : 255));
    }

    void shortImageRefused()
    {
        auto s = storeFor(5);
        QVERIFY(!decodeImage(*s, QByteArray(ImageSize5 - 1, 0), {}));
        QCOMPARE(int(s->Leq_Records(1, 1)), 0);
    }

    void validity_data() { test::addDataRows(QStringLiteral("link/rows.txt"), QStringLiteral("validity")); }
    void validity()
    {
        QFETCH(QStringList, c);
        const QList<int> leq = test::numbers(QString(c[1]).replace(QLatin1Char(' '), QLatin1Char(',')));
        const bool valid = c[2] == QLatin1String("1");
        auto s = storeFor(5);
        s->Leq_Records.fill(255);
        s->Event_Records.fill(255);
        for (int f = 1; f <= 8; ++f) {
            s->Leq_Records(1, f) = qint16(leq[f - 1]);
            s->Event_Records(1, f) = qint16(leq[f - 1]);
        }
        Tri_Leq(*s, {});
        Tri_Evenements(*s, {});
        const QList<int> all255(8, 255);
        QCOMPARE(rowOf(s->Leq_Records.row(1), 8) == all255, !valid);
        QCOMPARE(rowOf(s->Event_Records.row(1), 8) == all255, !valid);
        if (valid)
            QCOMPARE(rowOf(s->Leq_Records.row(1), 8), leq);
    }

    void historyValidityIgnoresCodeFields()
    {
        auto s = storeFor(5);
        s->Param_History.fill(255);
        const int stamp[6] = {30, 14, 5, 0, 3, 9};
        for (int f = 1; f <= 6; ++f)
            s->Param_History(1, f) = qint16(stamp[f - 1]);
        s->Param_History(1, 9) = 42;
        Tri_Historique(*s, {});
        QCOMPARE(s->Param_History(1, 1), qint16(30));
        QCOMPARE(s->Param_History(1, 7), qint16(255));
        QCOMPARE(s->Param_History(1, 9), qint16(42));
    }

    void equalStampsKeepTableOrder()
    {
        auto s = storeFor(5);
        s->Event_Records.fill(255);
        const int order[] = {3, 1, 4, 2};
        for (int r = 1; r <= 4; ++r) {
            const int v[8] = {10, 20, 15, 0, 6, 8, order[r - 1], 0};
            for (int f = 1; f <= 8; ++f)
                s->Event_Records(4000 + r, f) = qint16(v[f - 1]);
        }
        Tri_Evenements(*s, {});
        for (int r = 1; r <= 4; ++r)
            QCOMPARE(int(s->Event_Records(r, 7)), order[r - 1]);
    }

    void sameOrderAsSelectionSort()
    {
        // Distinct stamps in random order, some invalid: our order must be the reference sort's.
        QRandomGenerator rng(20081205);
        auto s = storeFor(3);
        s->Leq_Records.fill(255);
        std::vector<std::array<int, 8>> rows;
        QSet<qint64> seen;
        auto stampKey = [](const std::array<int, 8> &v) {
            return ((((qint64(v[5]) * 13 + v[4]) * 32 + v[2]) * 24 + v[1]) * 60) + v[0];
        };
        for (int r = 1; r <= 4096; ++r) {
            std::array<int, 8> v{};
            if (r % 97 == 0) {
                v = {60 + int(rng.bounded(10)), 5, 5, 10, 5, 5, 80, 0}; // invalid minute
            } else {
                do {
                    v = {int(rng.bounded(60)),     int(rng.bounded(24)),    1 + int(rng.bounded(28)), 10,
                         1 + int(rng.bounded(12)), int(rng.bounded(3)) + 7, int(rng.bounded(100)),    0};
                } while (seen.contains(stampKey(v)));
                seen.insert(stampKey(v));
            }
            for (int f = 1; f <= 8; ++f)
                s->Leq_Records(r, f) = qint16(v[f - 1]);
            if (v[0] >= 60)
                v.fill(255);
            rows.push_back(v);
        }
        // Rows beyond the firmware 3.5 count are not touched.
        s->Leq_Records(4097, 1) = 42;
        referenceSort(rows);
        Tri_Leq(*s, {});
        QCOMPARE(s->Leq_Count, 4096);
        for (int r = 1; r <= 4096; ++r) {
            if (rows[r - 1][5] == 255) {
                QCOMPARE(int(s->Leq_Records(r, 6)), 255);
                continue;
            }
            for (int f = 1; f <= 8; ++f)
                QCOMPARE(int(s->Leq_Records(r, f)), rows[r - 1][f - 1]);
        }
        QCOMPARE(int(s->Leq_Records(4097, 1)), 42);
    }

    // Progress calls of each stage on an empty image (one every 512 rows or
    // elements, 85 for the history, one after each sort pass), and the
    // filing total the program sizes the bar with is what they make.
    void progressCounts_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<QList<int>>("calls"); // decoding, Leq, event and history sorts
        QTest::newRow("3.5") << 3 << QList<int>{23, 40, 40, 10};
        QTest::newRow("4.0") << 4 << QList<int>{29, 80, 40, 10};
        QTest::newRow("5.X") << 5 << QList<int>{37, 80, 40, 10};
        QTest::newRow("KVL 36") << 70 << QList<int>{37, 80, 40, 10};
    }
    void progressCounts()
    {
        QFETCH(int, version);
        QFETCH(QList<int>, calls);
        auto s = storeFor(version);
        QList<int> made{0, 0, 0, 0};
        int stage = 0;
        const ProgressFn count = [&] { ++made[stage]; };
        QVERIFY(decodeImage(*s, emptyImage(version), count));
        stage = 1;
        Tri_Leq(*s, count);
        stage = 2;
        Tri_Evenements(*s, count);
        stage = 3;
        Tri_Historique(*s, count);
        QCOMPARE(made, calls);
        // Only 5.X and the KVL 36 sort their history in a download.
        const bool history = version == 5 || version == 70;
        QCOMPARE(filingProgressCalls(version), made[0] + made[1] + made[2] + (history ? made[3] : 0));
    }

    void cancelStopsAtTheNextCheck()
    {
        // Set from a progress call, the flag stops decoding or sorting before the next call.
        auto s = storeFor(5);
        int calls = 0, cancelAt = 4;
        const ProgressFn progress = [&] {
            if (++calls == cancelAt)
                s->Cancel_Flag = true;
        };
        QVERIFY(!decodeImage(*s, QByteArray(imageSizeForVersion(5), char(0x11)), progress));
        QCOMPARE(calls, 4);
        QCOMPARE(int(s->Leq_Records(2049, 1)), 0);
        QCOMPARE(int(s->Event_Records(1, 1)), 0);
        s->Cancel_Flag = false;
        calls = 0;
        cancelAt = 20;
        Tri_Leq(*s, progress);
        QCOMPARE(calls, 20);
        // Once cancelled, the next sort stops before its first step.
        calls = 0;
        Tri_Evenements(*s, progress);
        QCOMPARE(calls, 0);
    }
};

QTEST_APPLESS_MAIN(TestDecode)
#include "tst_decode.moc"
