// The two chart parameter dialogs, offscreen.

#include "TestSupport.h"

#include "charts/frmInGraphique.h"
#include "shell/AppHooks.h"
#include "shell/Forms.h"
#include "shell/frmMain.h"
#include "store/Store.h"

#include <QDateEdit>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QtTest>

using namespace kvl;
using namespace kvl::test;

namespace {

const char *const boxNames[4] = {"txt_Leq_Jour", "txt_Leq_Nuit", "txt_Heure_Jour_Nuit",
                                 "txt_Heure_Nuit_Jour"};

void flush()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

template <typename T = QWidget> T *child(QWidget *w, const char *name)
{
    return w ? w->findChild<T *>(QString::fromLatin1(name)) : nullptr;
}

// Every named control as "name=caption" (boxes "name=text|enabled"), in creation order.
QStringList controls(QWidget *w)
{
    QStringList lines{QLatin1Char('=') + w->windowTitle()};
    for (QWidget *c : w->findChildren<QWidget *>()) {
        const QString name = c->objectName();
        if (name.isEmpty() || name.startsWith(QStringLiteral("qt_")))
            continue;
        QString text;
        if (auto *g = qobject_cast<QGroupBox *>(c))
            text = g->title();
        else if (auto *l = qobject_cast<QLabel *>(c))
            text = l->text();
        else if (auto *b = qobject_cast<QAbstractButton *>(c))
            text = b->text();
        else if (auto *e = qobject_cast<QLineEdit *>(c))
            text = e->text() + (e->isEnabled() ? QStringLiteral("|enabled") : QStringLiteral("|disabled"));
        else if (auto *d = qobject_cast<QDateEdit *>(c))
            text = QStringLiteral("from ") + d->minimumDate().toString(Qt::ISODate);
        lines << name + QLatin1Char('=') + text;
    }
    return lines;
}

QStringList reference(const QString &dialog)
{
    QFile f(qEnvironmentVariable("KVL_TEST_DATA") + QStringLiteral("/charts/dialogs.txt"));
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return {QStringLiteral("<no reference file>")};
    const QStringList blocks = QString::fromUtf8(f.readAll()).split(QStringLiteral("\n["));
    for (const QString &block : blocks) {
        QStringList lines = block.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        if (!lines.isEmpty() && lines.takeFirst().remove(QLatin1Char('[')) == dialog + QLatin1Char(']'))
            return lines;
    }
    return {};
}

// A firmware 4.0 store whose device values are 102 dB day, 92 dB night, 23 and 7.
void resetStore(int version)
{
    Store &s = appStore();
    s = Store();
    s.Device_Version = qint16(version);
    s.Default_Leq_Day = QStringLiteral("102");
    s.Default_Leq_Night = QStringLiteral("92");
    s.Default_Hour_Day_Night = QStringLiteral("23");
    s.Default_Hour_Night_Day = QStringLiteral("7");
    s.Chart_Days_Text = QStringLiteral("1");
}

frmInGraphique *openV4()
{
    return qobject_cast<frmInGraphique *>(openForm(QStringLiteral("frmInGraphique")));
}

// The chart fields the dialog writes.
QString chartFields()
{
    const Store &s = appStore();
    return QStringLiteral("%1/%2/%3 +%4 %5/%6 %7-%8")
        .arg(s.Start_Day, s.Start_Month, s.Start_Year)
        .arg(s.Chart_Days)
        .arg(s.Seuil_Jour)
        .arg(s.Seuil_Nuit)
        .arg(s.Heure_Jour_Nuit)
        .arg(s.Heure_Nuit_Jour);
}

class ChartStub : public Form
{
public:
    ChartStub()
        : Form(QStringLiteral("frmGraphique_Leq"), &openFlags().Open_frmGraphique_Leq, true, Form::View)
    {
    }
};

} // namespace

class ChartDialogsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        registerAllForms();
        auto *main = new frmMain(false);
        main->resize(780, 560);
        main->show();
    }

    void cleanup()
    {
        Fermer_Fenetres();
        flush();
    }

    void captions_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<QString>("dialog");
        QTest::newRow("firmware 4.0") << 4 << "frmInGraphique";
        QTest::newRow("firmware 3.5") << 3 << "frmInGraphique";
        QTest::newRow("firmware 5.X") << 5 << "frmInGraphique_v5";
    }

    void captions()
    {
        QFETCH(int, version);
        QFETCH(QString, dialog);
        resetStore(version);
        QWidget *w = openForm(dialog);
        QVERIFY(w);
        QCOMPARE(controls(w), reference(dialog));
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY2(screen.contains(w->frameGeometry()),
                 qPrintable(QStringLiteral("%1x%2").arg(w->width()).arg(w->height())));
    }

    // Locked, editable, locked again: the device's values come back.
    void toggle()
    {
        resetStore(4);
        frmInGraphique *w = openV4();
        auto boxes = [w] {
            QStringList texts;
            for (const char *name : boxNames) {
                QLineEdit *box = child<QLineEdit>(w, name);
                texts << box->text() + (box->isEnabled() ? QStringLiteral("+") : QString());
            }
            return child<QPushButton>(w, "Cmd_Change_Parametres")->text() + QLatin1Char(':') +
                   texts.join(' ');
        };
        QCOMPARE(boxes(), QStringLiteral("Threshold parameters modification:102 92 23 7"));
        QTest::mouseClick(child<QPushButton>(w, "Cmd_Change_Parametres"), Qt::LeftButton);
        QCOMPARE(boxes(), QStringLiteral("Put the parameters by default:+ + + +"));
        child<QLineEdit>(w, "txt_Leq_Jour")->setText(QStringLiteral("95"));
        QTest::mouseClick(child<QPushButton>(w, "Cmd_Change_Parametres"), Qt::LeftButton);
        QCOMPARE(boxes(), QStringLiteral("Threshold parameters modification:102 92 23 7"));
    }

    // The period chosen comes back at the next opening; the menu starts again from today and one day.
    void lastPeriod()
    {
        MessageRecorder recorder;
        resetStore(5);
        appStore().Chart_Days = 7;
        auto *w = static_cast<ChartDialog *>(openForm(QStringLiteral("frmInGraphique_v5")));
        QCOMPARE(child<QDateEdit>(w, "DTPicker1")->date(), QDate::currentDate());
        QVERIFY(child<QRadioButton>(w, "Option_1_Jour")->isChecked());
        child<QDateEdit>(w, "DTPicker1")->setDate(QDate(2008, 4, 30));
        child<QRadioButton>(w, "Option_3_Jours")->setChecked(true);
        QVERIFY(w->Cmd_Ok_Click());
        flush();
        QVERIFY(!openFlags().Open_frmInGraphique_v5);
        QCOMPARE(appStore().End_Day + '/' + appStore().End_Month, QStringLiteral("3/5"));

        appStore().Device_Version = 4;
        w = openV4();
        QCOMPARE(child<QDateEdit>(w, "DTPicker1")->date(), QDate(2008, 4, 30));
        QVERIFY(child<QRadioButton>(w, "Option_3_Jours")->isChecked());
        w->close();
        flush();

        // A length text of no option selects none; Ok keeps the previous length.
        appStore().Chart_Days_Text = QStringLiteral("0");
        w = openV4();
        for (const char *name : {"Option_1_Jour", "Option_3_Jours", "Option_7_Jours"})
            QVERIFY(!child<QRadioButton>(w, name)->isChecked());
        QVERIFY(w->Cmd_Ok_Click());
        QCOMPARE(appStore().Chart_Days_Text, QStringLiteral("3"));

        frmMain::instance()->mnuGraphique_Click();
        Fermer_Fenetres();
        flush();
        w = openV4();
        QCOMPARE(child<QDateEdit>(w, "DTPicker1")->date(), QDate::currentDate());
        QVERIFY(child<QRadioButton>(w, "Option_1_Jour")->isChecked());
    }

    // Ok with the device's values, with the user's own, and refused values.
    void ok_data()
    {
        QTest::addColumn<QStringList>("typed"); // empty: the device's values
        QTest::addColumn<QString>("message");   // "" when accepted
        QTest::addColumn<QString>("stored");

        const QString before = QStringLiteral("// +1 0/0 0-0");
        auto level = [](const char *box) {
            return QStringLiteral("%1 : please write a level from 0 to 199 dB !!!").arg(QLatin1String(box));
        };
        auto hour = [](const char *box) {
            return QStringLiteral("%1 : please write an hour from 0 to 23 !!!").arg(QLatin1String(box));
        };
        QTest::newRow("device values") << QStringList() << ""
                                       << "30/4/2008 +3 102/92 23-7";
        QTest::newRow("user's 95 and 85") << QStringList{"95", "85", "22", "6"} << ""
                                          << "30/4/2008 +3 95/85 22-6";
        QTest::newRow("rounded") << QStringList{" 95.4", "84,5", "0", "23.2"} << ""
                                 << "30/4/2008 +3 95/85 0-23";
        QTest::newRow("abc") << QStringList{"abc", "85", "22", "6"} << level("Leq Level Day") << before;
        QTest::newRow("empty") << QStringList{"95", "", "22", "6"} << level("Leq Level Night") << before;
        QTest::newRow("negative") << QStringList{"95", "85", "-5", "6"} << hour("Day to Night") << before;
        QTest::newRow("hour 25") << QStringList{"95", "85", "22", "25"} << hour("Night to Day") << before;
        QTest::newRow("300 dB") << QStringList{"300", "85", "22", "6"} << level("Leq Level Day") << before;
        QTest::newRow("hour 23.6") << QStringList{"95", "85", "23.6", "6"} << hour("Day to Night") << before;
    }

    void ok()
    {
        QFETCH(QStringList, typed);
        QFETCH(QString, message);
        QFETCH(QString, stored);
        resetStore(4);
        frmInGraphique *w = openV4();
        child<QDateEdit>(w, "DTPicker1")->setDate(QDate(2008, 4, 30));
        child<QRadioButton>(w, "Option_3_Jours")->setChecked(true);
        if (!typed.isEmpty()) {
            w->Cmd_Change_Parametres_Click();
            for (int i = 0; i < 4; ++i)
                child<QLineEdit>(w, boxNames[i])->setText(typed[i]);
        }
        MessageRecorder recorder;
        QCOMPARE(w->Cmd_Ok_Click(), message.isEmpty());
        flush();
        const QString notYet =
            msg(QStringLiteral("This view is not available yet in this version of the program."),
                QStringLiteral("ORLIN Analysis Software"), MsgIcon::Information);
        QCOMPARE(shown(recorder),
                 message.isEmpty()
                     ? notYet
                     : msg(message, QStringLiteral("Leq Level Diagram Parameters"), MsgIcon::Exclamation));
        QCOMPARE(openFlags().Open_frmInGraphique, !message.isEmpty());
        QCOMPARE(chartFields(), stored);
    }

    // Once the chart window exists, Ok opens it.
    void opensChart()
    {
        registerForm(QStringLiteral("frmGraphique_Leq"), [] { return new ChartStub; });
        resetStore(5);
        MessageRecorder recorder;
        QVERIFY(static_cast<ChartDialog *>(openForm(QStringLiteral("frmInGraphique_v5")))->Cmd_Ok_Click());
        QVERIFY(openFlags().Open_frmGraphique_Leq);
        QVERIFY(!openFlags().Open_frmInGraphique_v5);
        QCOMPARE(shown(recorder), QString());
    }
};

QTEST_MAIN(ChartDialogsTest)
#include "tst_chart_dialogs.moc"
