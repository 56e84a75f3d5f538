// Dates typed whole in the period dialogs.

#include "TestCore.h"
#include "store/TypedDate.h"

#include <QtTest>

using namespace kvl;

class TestTypedDate : public QObject
{
    Q_OBJECT
private slots:
    void typed_data() { test::addDataRows(QStringLiteral("rows/typed_dates.txt")); }
    void typed()
    {
        QFETCH(QStringList, c);
        const QDate expected = QDate::fromString(c.value(2), Qt::ISODate);
        QCOMPARE(parseTypedDate(c[1]), expected);
        QCOMPARE(isTypedDatePrefix(c[1]), c.value(3) == QLatin1String("1"));
    }
};

QTEST_GUILESS_MAIN(TestTypedDate)
#include "tst_typeddate.moc"
