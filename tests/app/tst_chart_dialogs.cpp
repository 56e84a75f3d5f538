// The two chart parameter dialogs, offscreen.

#include "TableStores.h"
#include "TestSupport.h"
#include "WindowTest.h"

#include "charts/frmInGraphique.h"
#include "shell/AppHooks.h"
#include "shell/frmMain.h"
#include "store/Store.h"

#include <QtTest>
#include <QtWidgets>

using namespace kvl;
using namespace kvl::test;

namespace {

// Every named control as "name=caption", boxes "name=text|enabled", in creation order.
QStringList controls(QWidget *w)
{
    QStringList lines{'=' + w->windowTitle()};
    for (QWidget *c : w->findChildren<QWidget *>(QRegularExpression(QStringLiteral("^(?!qt_).")))) {
        QString text = c->property("title").toString();
        if (auto *d = qobject_cast<QDateEdit *>(c))
            text = "from " + d->minimumDate().toString(Qt::ISODate);
        else
            text += c->property("text").toString();
        if (qobject_cast<QLineEdit *>(c))
            text += c->isEnabled() ? "|enabled" : "|disabled";
        lines << c->objectName() + '=' + text;
    }
    return lines;
}

QString toggleState(QWidget *w)
{
    return controls(w).filter(QRegularExpression("^(txt_|Cmd_Change)")).join(' ');
}

QDateEdit *picker(QWidget *w)
{
    return w->findChild<QDateEdit *>("DTPicker1");
}

QRadioButton *option(QWidget *w, int days)
{
    return w->findChild<QRadioButton *>(days == 1 ? QStringLiteral("Option_1_Jour")
                                                  : QStringLiteral("Option_%1_Jours").arg(days));
}

// A firmware 3.5/4.0 store whose device values are 102 dB, 92 dB, 23 and 7 hrs.
ChartDialog *openDialog(int version)
{
    Store &s = appStore();
    s.Device_Version = qint16(version);
    s.Default_Leq_Day = QStringLiteral("102");
    s.Default_Leq_Night = QStringLiteral("92");
    s.Default_Hour_Day_Night = QStringLiteral("23");
    s.Default_Hour_Night_Day = QStringLiteral("7");
    return static_cast<ChartDialog *>(
        openForm(version < 5 ? QStringLiteral("frmInGraphique") : QStringLiteral("frmInGraphique_v5")));
}

} // namespace

class ChartDialogsTest : public WindowTest
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        WindowTest::initTestCase();
        // The chart window stands in as an empty window: these tests are about the dialogs.
        registerForm(QStringLiteral("frmGraphique_Leq"), [] {
            return new Form(QStringLiteral("frmGraphique_Leq"), &openFlags().Open_frmGraphique_Leq, true);
        });
    }

    void captions()
    {
        for (int version : {3, 4, 5, 70}) {
            QWidget *w = openDialog(version);
            KVL_COMPARE_FILE("charts/" + w->objectName() + ".txt", controls(w).join('\n').toUtf8() + '\n');
            QVERIFY(QGuiApplication::primaryScreen()->availableGeometry().contains(w->frameGeometry()));
        }
    }

    // Locked, editable, locked again: the device's values come back.
    void toggle()
    {
        auto *w = static_cast<frmInGraphique *>(openDialog(4));
        const QString locked = toggleState(w); // as in the reference
        QTest::mouseClick(w->findChild<QPushButton *>("Cmd_Change_Parametres"), Qt::LeftButton);
        QCOMPARE(toggleState(w),
                 QStringLiteral("txt_Leq_Jour=|enabled txt_Leq_Nuit=|enabled txt_Heure_Jour_Nuit=|"
                                "enabled txt_Heure_Nuit_Jour=|enabled "
                                "Cmd_Change_Parametres=Put the parameters by default"));
        w->Cmd_Change_Parametres_Click();
        QCOMPARE(toggleState(w), locked);
    }

    // The last period comes back in either dialog; after the menu, today and one day.
    void lastPeriod()
    {
        appStore().Chart_Days_Text = QStringLiteral("1");
        ChartDialog *w = openDialog(5);
        QCOMPARE(picker(w)->date(), QDate::currentDate());
        QVERIFY(option(w, 1)->isChecked());
        picker(w)->setDate(QDate(2008, 4, 30));
        option(w, 3)->setChecked(true);
        QVERIFY(w->Cmd_Ok_Click());
        w = openDialog(4);
        QCOMPARE(picker(w)->date(), QDate(2008, 4, 30));
        QVERIFY(option(w, 3)->isChecked());

        frmMain::instance()->mnuGraphique_Click();
        w = openDialog(4);
        QCOMPARE(picker(w)->date(), QDate::currentDate());
        QVERIFY(option(w, 1)->isChecked());
    }

    void ok_data() { addDataRows(QStringLiteral("charts/dialogs.txt")); }

    void ok()
    {
        QFETCH(QStringList, c);
        QStringList typed;
        for (const QString &t : c[1].split(';', Qt::SkipEmptyParts))
            typed << t.trimmed().replace('_', ' ');
        const QString message = c[2], stored = c[3];
        auto *w = static_cast<frmInGraphique *>(openDialog(4));
        picker(w)->setDate(QDate(2008, 4, 30));
        option(w, 3)->setChecked(true);
        if (!typed.isEmpty())
            w->Cmd_Change_Parametres_Click();
        for (int i = 0; i < typed.size(); ++i)
            w->findChildren<QLineEdit *>(QRegularExpression(QStringLiteral("^txt_")))[i]->setText(typed[i]);
        MessageRecorder recorder;
        const bool accepted = message.isEmpty();
        QCOMPARE(w->Cmd_Ok_Click(), accepted);
        QVERIFY2(accepted ? recorder.messages.isEmpty()
                          : recorder.messages.size() == 1 && recorder.messages[0].text.startsWith(message),
                 qPrintable(shown(recorder)));
        QCOMPARE(openFlags().Open_frmInGraphique, !accepted);
        QCOMPARE(openFlags().Open_frmGraphique_Leq, accepted);
        const Store &s = appStore();
        QCOMPARE(QString::asprintf("%d/%d/%d %d %d/%d %d-%d", s.Start_Day.toInt(), s.Start_Month.toInt(),
                                   s.Start_Year.toInt(), s.Chart_Days, s.Seuil_Jour, s.Seuil_Nuit,
                                   s.Heure_Jour_Nuit, s.Heure_Nuit_Jour),
                 stored);
    }
};

QTEST_MAIN(ChartDialogsTest)
#include "tst_chart_dialogs.moc"
