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

void put(QByteArray &image, int offset, std::initializer_list<int> bytes)
{
    for (int b : bytes)
        image[offset++] = char(b);
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

// Writes a Leq row (decoded values) straight into the table; tag = level.
void setLeq(Store &s, int r, int minute, int hour, int day, int month, int year, int tag)
{
    const int v[8] = {minute, hour, day, 10, month, year, tag % 100, tag / 100};
    for (int f = 1; f <= 8; ++f)
        s.Leq_Records(r, f) = qint16(v[f - 1]);
}

// The device program's five-pass selection sort, kept here as the reference order.
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
    void bcd_data()
    {
        QTest::addColumn<int>("byte");
        QTest::addColumn<int>("value");
        QTest::newRow("0x59") << 0x59 << 59;
        QTest::newRow("0x00") << 0x00 << 0;
        QTest::newRow("0x99") << 0x99 << 99;
        QTest::newRow("0x9F last converted") << 0x9F << 105;
        QTest::newRow("0xA0 kept") << 0xA0 << 160;
        QTest::newRow("0xFF kept") << 0xFF << 255;
        QTest::newRow("0x60 minute 60") << 0x60 << 60;
    }
    void bcd()
    {
        QFETCH(int, byte);
        QFETCH(int, value);
        QCOMPARE(kvl::bcd(byte), value);
    }

    void layout_data()
    {
        QTest::addColumn<int>("version");
        QTest::newRow("3.5") << 3;
        QTest::newRow("4.0") << 4;
        QTest::newRow("5.X") << 5;
        QTest::newRow("KVL 36") << 70;
    }
    void layout()
    {
        QFETCH(int, version);
        QByteArray image = emptyImage(version);
        const int eventArea = version == 3 ? EventArea35 : EventArea;
        const int lastLeq = kvl::leqRows(version);
        put(image, (3 - 1) * 8, {0x45, 0x23, 0x31, 0x10, 0x12, 0x08, 0x95, 0x01});
        put(image, (lastLeq - 1) * 8, {0x00, 0x00, 0x01, 0x01, 0x01, 0x00, 0x70, 0x00});
        put(image, eventArea + (5 - 1) * 8, {0x59, 0x12, 0x28, 0x07, 0x02, 0x08, 0x12, 0xA4});
        if (version == 5 || version == 70) {
            QByteArray hist(48, char(0x11));
            hist[6] = char(0x12);
            hist[7] = char(0xFF);
            hist[8] = char(0x42);
            image.replace(HistoryArea5 + 48, 48, hist);
        }
        if (version == 3) {
            for (int i = 0; i < 514; ++i)
                image[ImageSize35 + i] = char(0x12);
        } else {
            const int area = version == 4 ? ParamArea40 : ParamArea5;
            put(image, area + 100, {0x12});
            put(image, area + 2046, {0x12, 0x12});
            put(image, area + 2360, {0x01, 0x23});
        }

        auto s = storeFor(version);
        s->Leq_Records(8192, 1) = 7; // must stay for 3.5
        QVERIFY(decodeImage(*s, image, {}));

        QCOMPARE(rowOf(s->Leq_Records.row(3), 8), (QList<int>{45, 23, 31, 10, 12, 8, 95, 1}));
        QCOMPARE(rowOf(s->Leq_Records.row(lastLeq), 8), (QList<int>{0, 0, 1, 1, 1, 0, 70, 0}));
        QCOMPARE(rowOf(s->Leq_Records.row(1), 8), (QList<int>{255, 255, 255, 255, 255, 255, 255, 255}));
        // Event code bytes stay raw.
        QCOMPARE(rowOf(s->Event_Records.row(5), 8), (QList<int>{59, 12, 28, 7, 2, 8, 0x12, 0xA4}));
        if (version == 3)
            QCOMPARE(s->Leq_Records(8192, 1), qint16(7));
        if (version == 5 || version == 70) {
            QCOMPARE(s->Param_History(2, 1), qint16(11));
            QCOMPARE(s->Param_History(2, 7), qint16(0x12)); // raw
            QCOMPARE(s->Param_History(2, 8), qint16(255));
            QCOMPARE(s->Param_History(2, 9), qint16(42)); // BCD
        }
        if (version == 3) {
            QCOMPARE(s->Param_Raw[0], qint16(12));
            QCOMPARE(s->Param_Raw[511], qint16(12));
            QCOMPARE(s->Param_Raw[512], qint16(0x12));
            QCOMPARE(s->Param_Raw[513], qint16(0x12));
            for (int i = 0; i < 2560; ++i) {
                const int expected = (i == 6 || i == 7) ? 0x12 : (i >= 2048 ? 12 : 255);
                QCOMPARE(int(s->Param_Block[i]), expected);
            }
        } else {
            QCOMPARE(s->Param_Block[100], qint16(0x12));  // raw part
            QCOMPARE(s->Param_Block[2046], qint16(0x12)); // last raw element
            QCOMPARE(s->Param_Block[2047], qint16(12));   // first BCD element
            QCOMPARE(s->Param_Block[2360], qint16(1));
            QCOMPARE(s->Param_Block[2361], qint16(23));
        }
    }

    void shortImageRefused()
    {
        auto s = storeFor(5);
        QVERIFY(!decodeImage(*s, QByteArray(ImageSize5 - 1, 0), {}));
        QCOMPARE(int(s->Leq_Records(1, 1)), 0);
    }

    void validity_data()
    {
        QTest::addColumn<QList<int>>("leq");
        QTest::addColumn<bool>("valid");
        QTest::newRow("valid") << QList<int>{59, 23, 31, 1, 12, 98, 99, 1} << true;
        QTest::newRow("minute 60") << QList<int>{60, 10, 1, 10, 1, 8, 90, 0} << false;
        QTest::newRow("hour 24") << QList<int>{0, 24, 1, 10, 1, 8, 90, 0} << false;
        QTest::newRow("day 0") << QList<int>{0, 10, 0, 10, 1, 8, 90, 0} << false;
        QTest::newRow("day 32") << QList<int>{0, 10, 32, 10, 1, 8, 90, 0} << false;
        QTest::newRow("month 0") << QList<int>{0, 10, 1, 10, 0, 8, 90, 0} << false;
        QTest::newRow("month 13") << QList<int>{0, 10, 1, 10, 13, 8, 90, 0} << false;
        QTest::newRow("year 99") << QList<int>{0, 10, 1, 10, 1, 99, 90, 0} << false;
        QTest::newRow("field 7 255") << QList<int>{0, 10, 1, 10, 1, 8, 255, 0} << false;
        QTest::newRow("field 8 255") << QList<int>{0, 10, 1, 10, 1, 8, 90, 255} << false;
        QTest::newRow("field 4 not tested") << QList<int>{0, 0, 1, 255, 1, 0, 0, 0} << true;
    }
    void validity()
    {
        QFETCH(QList<int>, leq);
        QFETCH(bool, valid);
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

    void sortOrderAllKeys()
    {
        auto s = storeFor(4);
        s->Leq_Records.fill(255);
        // Each row differs from its neighbour in order on one key, given scrambled.
        setLeq(*s, 1, 0, 0, 1, 1, 9, 8);   // 2009
        setLeq(*s, 2, 0, 0, 1, 2, 8, 7);   // Feb 2008
        setLeq(*s, 3, 0, 0, 2, 1, 8, 5);   // 2 Jan
        setLeq(*s, 4, 0, 1, 1, 1, 8, 3);   // 1 Jan 01:00
        setLeq(*s, 5, 1, 0, 1, 1, 8, 2);   // 1 Jan 00:01
        setLeq(*s, 6, 0, 0, 1, 1, 8, 1);   // 1 Jan 00:00
        setLeq(*s, 7, 60, 0, 1, 1, 8, 99); // invalid
        setLeq(*s, 8, 59, 23, 1, 1, 8, 4); // 1 Jan 23:59
        setLeq(*s, 9, 0, 0, 31, 1, 8, 6);  // 31 Jan
        Tri_Leq(*s, {});
        QCOMPARE(s->Leq_Count, 8192);
        for (int r = 1; r <= 8; ++r)
            QCOMPARE(int(s->Leq_Records(r, 7)), r);
        QCOMPARE(int(s->Leq_Records(9, 6)), 255);
        QCOMPARE(int(s->Leq_Records(8192, 6)), 255);
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
        // Distinct stamps in random order, some invalid: our order must be the device program's.
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

    void progressCounts_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<int>("decodeCalls");
        QTest::addColumn<int>("leqSortCalls");
        // 3.5: Leq 8, events 8, answer 2 (elements 0 and 512), 255 fill 5.
        QTest::newRow("3.5") << 3 << 8 + 8 + 2 + 5 << 40;
        QTest::newRow("4.0") << 4 << 16 + 8 + 5 << 80;
        QTest::newRow("5.X") << 5 << 16 + 8 + 8 + 5 << 80;
        QTest::newRow("KVL 36") << 70 << 16 + 8 + 8 + 5 << 80;
    }
    void progressCounts()
    {
        QFETCH(int, version);
        QFETCH(int, decodeCalls);
        QFETCH(int, leqSortCalls);
        auto s = storeFor(version);
        int calls = 0;
        const ProgressFn count = [&calls] { ++calls; };
        QVERIFY(decodeImage(*s, emptyImage(version), count));
        QCOMPARE(calls, decodeCalls);
        calls = 0;
        Tri_Leq(*s, count);
        QCOMPARE(calls, leqSortCalls);
        calls = 0;
        Tri_Evenements(*s, count);
        QCOMPARE(calls, 40);
        calls = 0;
        Tri_Historique(*s, count);
        QCOMPARE(calls, 10);
        const bool v5 = version == 5 || version == 70;
        QCOMPARE(filingProgressCalls(version), decodeCalls + leqSortCalls + 40 + (v5 ? 10 : 0));
    }

    void cancelDuringDecoding_data()
    {
        QTest::addColumn<int>("cancelAtCall");
        QTest::addColumn<int>("stopRow");
        // The call made before row 512k lets field 1 of that row be written, then stops.
        QTest::newRow("first call") << 1 << 512;
        QTest::newRow("fourth call") << 4 << 2048;
    }
    void cancelDuringDecoding()
    {
        QFETCH(int, cancelAtCall);
        QFETCH(int, stopRow);
        auto s = storeFor(5);
        const QByteArray image(imageSizeForVersion(5), char(0x11));
        int calls = 0;
        const bool ok = decodeImage(*s, image, [&] {
            if (++calls == cancelAtCall)
                s->Cancel_Flag = true;
        });
        QVERIFY(!ok);
        QCOMPARE(calls, cancelAtCall);
        QCOMPARE(int(s->Leq_Records(stopRow - 1, 8)), 11);
        QCOMPARE(int(s->Leq_Records(stopRow, 1)), 11);
        QCOMPARE(int(s->Leq_Records(stopRow, 2)), 0);
        QCOMPARE(int(s->Leq_Records(stopRow + 1, 1)), 0);
        QCOMPARE(int(s->Event_Records(1, 1)), 0);
    }

    void cancelDuringSorting()
    {
        auto s = storeFor(5);
        s->Leq_Records.fill(255);
        setLeq(*s, 1, 0, 0, 2, 1, 8, 2);
        setLeq(*s, 2, 0, 0, 1, 1, 8, 1);
        int calls = 0;
        Tri_Leq(*s, [&] {
            if (++calls == 20)
                s->Cancel_Flag = true;
        });
        QCOMPARE(calls, 20);
        // Once cancelled, the next sort stops before its first step.
        calls = 0;
        Tri_Evenements(*s, [&] { ++calls; });
        QCOMPARE(calls, 0);
    }
};

QTEST_APPLESS_MAIN(TestDecode)
#include "tst_decode.moc"
