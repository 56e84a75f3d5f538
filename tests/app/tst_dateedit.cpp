// The period dialogs' date field typed at the keyboard, as people do.

#include "TestSupport.h"
#include "shell/DateEdit.h"

#include <QLineEdit>
#include <QtTest>

using namespace kvl;

class TestDateEdit : public QObject
{
    Q_OBJECT
private slots:
    void typing_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QDate>("expected");
        // keys: "^A" selects all, "|" puts the cursor at the start, "<" leaves the field, "\n" is Enter.
        QTest::newRow("whole date over the selection, Enter") << "^A15/10/2026\n" << QDate(2026, 10, 15);
        QTest::newRow("whole date, leaving the field") << "^A15/10/2026<" << QDate(2026, 10, 15);
        QTest::newRow("digits only") << "^A03112026\n" << QDate(2026, 11, 3);
        QTest::newRow("dots and a short year") << "^A3.11.26\n" << QDate(2026, 11, 3);
        QTest::newRow("a zero typed at the cursor") << "|05\n" << QDate(2026, 9, 5);
        QTest::newRow("two digits typed at the cursor") << "|15\n" << QDate(2026, 9, 15);
        QTest::newRow("a typed date, then Escape") << "^A15/10/2026\x1b" << QDate(2026, 9, 1);
        QTest::newRow("half a date keeps the date") << "^A15/1<" << QDate(2026, 9, 1);
        QTest::newRow("no such day keeps the date") << "^A31/02/2026\n" << QDate(2026, 9, 1);
        QTest::newRow("outside the range keeps the date") << "^A01/01/1999\n" << QDate(2026, 9, 1);
    }
    void typing()
    {
        QFETCH(QString, keys);
        QFETCH(QDate, expected);
        QWidget window;
        auto *edit = new DateEdit(&window);
        auto *other = new QLineEdit(&window);
        other->move(0, 40);
        edit->setDateRange(QDate(2000, 1, 1), QDate(2098, 12, 31));
        edit->setDate(QDate(2026, 9, 1));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        edit->setFocus();
        QLineEdit *line = edit->findChild<QLineEdit *>();
        for (int i = 0; i < keys.size(); ++i) {
            const QChar k = keys[i];
            if (k == QLatin1Char('^') && keys.mid(i, 2) == QLatin1String("^A")) {
                QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
                ++i;
            } else if (k == QLatin1Char('|')) {
                line->setCursorPosition(0);
                line->deselect();
            } else if (k == QLatin1Char('<')) {
                other->setFocus();
            } else if (k == QChar(0x1b)) {
                QTest::keyClick(edit, Qt::Key_Escape);
            } else if (k == QLatin1Char('\n')) {
                QTest::keyClick(edit, Qt::Key_Return);
            } else {
                QTest::keyClick(edit, k.toLatin1());
            }
        }
        QCOMPARE(edit->date(), expected);
        QCOMPARE(line->text(), expected.toString(QStringLiteral("dd/MM/yyyy")));
    }
};

QTEST_MAIN(TestDateEdit)
#include "tst_dateedit.moc"
