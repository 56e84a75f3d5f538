// A Leq diagram from a new download, the way a user gets it: the menu,
// "New Data" in the data source window, the transfer from kvl-sim (firmware
// 5.X), the chart dialog with 3 days, and the chart window with its data.

#include "Simulator.h"
#include "TestSupport.h"
#include "charts/PictureBox.h"
#include "charts/frmGraphique_Leq.h"
#include "files/frmData_Type.h"
#include "link/CommPort.h"
#include "shell/AppHooks.h"
#include "shell/Forms.h"
#include "shell/frmMain.h"
#include "store/Layout.h"
#include "store/Store.h"

#include <QAbstractButton>
#include <QDateTimeEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QtTest>

using namespace kvl;
using namespace kvl::test;

class tst_ChartDownload : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { registerAllForms(); }
    void threeDayChartFromANewDownload();
};

void tst_ChartDownload::threeDayChartFromANewDownload()
{
    frmMain main(false);
    main.show();
    Simulator sim;
    QVERIFY(sim.start(5, {"--seed", "12", "--weeks", "2", "--fast"}));
    MessageRecorder messages;
    main.mnuGraphique_Click();
    auto *source = qobject_cast<frmData_Type *>(findForm(QStringLiteral("frmData_Type")));
    QVERIFY(source);
    source->findChild<QRadioButton *>(QStringLiteral("Option_New_Transfert"))->click();
    source->Cmd_Ok_Click();
    QWidget *dialog = nullptr;
    QTRY_VERIFY_WITH_TIMEOUT(
        (dialog = findForm(QStringLiteral("frmInGraphique_v5"))) || !messages.messages.isEmpty(), 30000);
    QVERIFY2(dialog, qPrintable(shown(messages)));

    // The day of the first Leq10 record of an afternoon or evening.
    const Store &s = appStore();
    QDate start;
    for (int r = 1; r <= LeqTable::rowCount && !start.isValid(); ++r) {
        const qint16 *row = s.Leq_Records.row(r);
        if (row[field::Kind - 1] == KindLeq10 && row[field::Hour - 1] >= 12)
            start = QDate(2000 + row[field::Year - 1], row[field::Month - 1], row[field::Day - 1]);
    }
    QVERIFY(start.isValid());
    dialog->findChild<QDateTimeEdit *>(QStringLiteral("DTPicker1"))->setDate(start);
    dialog->findChild<QAbstractButton *>(QStringLiteral("Option_3_Jours"))->click();
    dialog->findChild<QAbstractButton *>(QStringLiteral("Cmd_Ok"))->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    auto *chart = qobject_cast<frmGraphique_Leq *>(findForm(QStringLiteral("frmGraphique_Leq")));
    QVERIFY(chart);
    QCOMPARE(s.Chart_Days, qint16(3));
    for (const RecordedMessage &m : messages.messages)
        QVERIFY2(m.caption != QStringLiteral("No Leq Value !!!"), qPrintable(m.text));
    auto *list = chart->findChild<QListWidget *>(QStringLiteral("List_Leq10"));
    QVERIFY(list->isEnabled());
    QVERIFY(list->count() > 1);
    QVERIFY(list->item(0)->text().contains(QStringLiteral("Leq10 Level =")));
    int red = 0;
    for (const CanvasItem &i : chart->graphique(Diagram::Leq10)->canvas().items())
        red += i.colour == colours::Red;
    QVERIFY(red > 0);
    Fermer_Fenetres();
    MSComm1().close();
}

QTEST_MAIN(tst_ChartDownload)
#include "tst_chart_download.moc"
