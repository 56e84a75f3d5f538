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

void rows(const char *section)
{
    test::addDataRows(QStringLiteral("link/rows.txt"), QLatin1String(section));
}

} // namespace

class TestDecode : public QObject
{
    Q_OBJECT
private slots:
    void bcd_data() { rows("bcd"); }
    void bcd()
    {
        QFETCH(QStringList, c);
        QCOMPARE(kvl::bcd(c[1].toInt(nullptr, 16)), c[2].toInt());
    }

    void layout_data() { rows("layout"); }
    void layout()
    {
        QFETCH(QStringList, c);
        const int version = c[1].toInt();
        QByteArray image = emptyImage(version);
        image[c[2].toInt()] = char(0x12);
        auto s = storeFor(version);
        s->Leq_Records(8192, 2) = 7; // beyond the 3.5 rows
        QVERIFY(decodeImage(*s, image, {}));
        const QStringList t = c[3].split(QLatin1Char(' '));
        const int i = t[1].toInt(), f = t.value(2).toInt();
        const int got = t[0] == "leq"       ? s->Leq_Records(i, f)
                        : t[0] == "event"   ? s->Event_Records(i, f)
                        : t[0] == "history" ? s->Param_History(i, f)
                        : t[0] == "block"   ? s->Param_Block[i]
                                            : s->Param_Raw[i];
        QCOMPARE(got, c[4].toInt());
        QCOMPARE(s->Leq_Records(8192, 2), qint16(version == 3 ? 7 : 255));
    }

    void shortImageRefused()
    {
        auto s = storeFor(5);
        QVERIFY(!decodeImage(*s, QByteArray(ImageSize5 - 1, 0), {}));
        QCOMPARE(int(s->Leq_Records(1, 1)), 0);
    }

    // Rows put into empty tables, then validated and sorted.
    void sorts_data() { rows("sorts"); }
    void sorts()
    {
        QFETCH(QStringList, c);
        const auto rowsOf = [](const QString &field) {
            QList<QList<int>> out;
            for (QString row : test::items(field))
                out << test::numbers(row.replace(QLatin1Char(' '), QLatin1Char(',')));
            return out;
        };
        for (const QString &table : c[1].split(QLatin1Char(' '))) {
            auto s = storeFor(5);
            s->Leq_Records.fill(255);
            s->Event_Records.fill(255);
            s->Param_History.fill(255);
            const auto cell = [&](int r, int f) -> qint16 & {
                return table == "leq"     ? s->Leq_Records(r, f)
                       : table == "event" ? s->Event_Records(r, f)
                                          : s->Param_History(r, f);
            };
            for (const QList<int> &v : rowsOf(c[2]))
                for (int f = 1; f < v.size(); ++f)
                    cell(v[0], f) = qint16(v[f]);
            if (table == "leq")
                Tri_Leq(*s, {});
            else if (table == "event")
                Tri_Evenements(*s, {});
            else
                Tri_Historique(*s, {});
            for (const QList<int> &v : rowsOf(c[3]))
                for (int f = 1; f < v.size(); ++f)
                    QCOMPARE(int(cell(v[0], f)), v[f]);
        }
    }

    void sameOrderAsSelectionSort()
    {
        // Distinct stamps in random order, some invalid: sorted on year, month, day, hour, minute.
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
        std::sort(rows.begin(), rows.end(),
                  [&](const auto &a, const auto &b) { return stampKey(a) < stampKey(b); });
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

    void progressCounts_data() { rows("progress calls"); }
    void progressCounts()
    {
        QFETCH(QStringList, c);
        auto s = storeFor(c[1].toInt());
        QList<int> made{0, 0, 0, 0};
        int stage = 0;
        const ProgressFn count = [&] { ++made[stage]; };
        QVERIFY(decodeImage(*s, emptyImage(c[1].toInt()), count));
        stage = 1;
        Tri_Leq(*s, count);
        stage = 2;
        Tri_Evenements(*s, count);
        stage = 3;
        Tri_Historique(*s, count);
        QCOMPARE(made, test::numbers(c[2]));
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
