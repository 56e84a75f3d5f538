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
    void typing_data() { test::addDataRows(QStringLiteral("rows/dateedit.txt")); }
    void typing()
    {
        QFETCH(QStringList, c);
        const QString keys = c[1];
        const QDate expected = QDate::fromString(c[2], Qt::ISODate);
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
            } else if (k == QLatin1Char('@')) {
                line->setCursorPosition(0);
                line->deselect();
            } else if (k == QLatin1Char('<')) {
                other->setFocus();
            } else if (k == QLatin1Char('~')) {
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
