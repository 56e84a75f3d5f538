#include "StoreCheck.h"
#include "TestCore.h"
#include "link/Decode.h"
#include "store/Store.h"

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
};

QTEST_APPLESS_MAIN(TestDecode)
#include "tst_decode.moc"
