// The period dialog and the three table windows, offscreen, with their
// printing; the report's period dialog: its period choices, the proposed file
// name and the failure paths.

#include "Programs.h"
#include "TableStores.h"
#include "TestSupport.h"
#include "WindowTest.h"

#include "files/frmData_Type.h"
#include "report/frmInRapport.h"
#include "shell/AppHooks.h"
#include "shell/Forms.h"
#include "shell/frmMain.h"
#include "store/Store.h"
#include "tables/TableForm.h"
#include "tables/frmInTableau.h"

#include <QDateEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <optional>

using namespace kvl;
using namespace kvl::test;

namespace {

const QString eventsView = QStringLiteral("Tableau Evénements");
const QString leqView = QStringLiteral("Tableau Leq");

template <typename T = QWidget> T *child(QWidget *w, const char *name)
{
    return w ? w->findChild<T *>(QString::fromLatin1(name)) : nullptr;
}

void flush()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void resetStore(int version)
{
    Store &store = appStore();
    store = Store();
    fillBusyStore(store, version);
    store.Requested_View = viewOf(eventsView);
}

QWidget *openDialog(const QString &view)
{
    appStore().Requested_View = viewOf(view);
    return openForm(QStringLiteral("frmInTableau"));
}

// The period in the store, "dd/mm/yyyy - dd/mm/yyyy".
QString storedDates()
{
    const Store &s = appStore();
    return s.Start_Day + '/' + s.Start_Month + '/' + s.Start_Year + " - " + s.End_Day + '/' + s.End_Month +
           '/' + s.End_Year;
}

// Opens the table window of a view through the period dialog's Ok.
QWidget *openTable(const QString &view, const QString &start, const QString &end)
{
    setPeriod(appStore(), start, end);
    auto *in = qobject_cast<frmInTableau *>(openDialog(view));
    if (!in || !in->Cmd_Ok_Click())
        return nullptr;
    flush();
    return findForm(frmInTableau::tableFor(viewOf(view), appStore().Device_Version));
}

} // namespace

class TablesTest : public WindowTest
{
    Q_OBJECT
    // A refusal must not open a real message box: the test would wait on it.
    std::optional<MessageRecorder> m_messages;

private slots:
    void init() { m_messages.emplace(); }
    void cleanup()
    {
        WindowTest::cleanup();
        m_messages.reset();
    }

    void periodDialog()
    {
        resetStore(5);
        QWidget *w = openDialog(eventsView);
        QVERIFY(w);
        // Without a stored period the dialog proposes and stores today; the
        // reference must not depend on the day it runs.
        const QString today = QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy"));
        QCOMPARE(storedDates(), today + " - " + today);
        QStringList texts = windowTexts(w);
        texts.replaceInStrings(today, QStringLiteral("<today>"));
        texts.replaceInStrings(
            QRegularExpression(QStringLiteral("^(qt_calendar_\\w+|qt_spinbox_lineedit)=(?!<today>).*")),
            QStringLiteral("\\1=<calendar>"));
        KVL_COMPARE_REF("windows/tables.txt", "period dialog", texts);
        QVERIFY(openFlags().Open_frmInTableau);
        w->close();
        QVERIFY(!openFlags().Open_frmInTableau);
        QCOMPARE(openDialog(leqView)->windowTitle(), QStringLiteral("Leq Chart Parameters"));
    }

    void periodCheck_data()
    {
        addDataRows(QStringLiteral("tables/cases.txt"), QStringLiteral("period checks"));
    }
    void periodCheck()
    {
        QFETCH(QStringList, c);
        const QDate start = QDate::fromString(c[1], Qt::ISODate), end = QDate::fromString(c[2], Qt::ISODate);
        const QString action = c[3], outcome = c[4];
        resetStore(4);
        auto *w = qobject_cast<frmInTableau *>(openDialog(eventsView));
        QVERIFY(w);
        child<QDateEdit>(w, "DTP_Jour_Start")->setDate(start);
        child<QDateEdit>(w, "DTP_Jour_End")->setDate(end);
        const QStringList key = action.split(QLatin1Char(' '));
        if (action == "Ok")
            QCOMPARE(w->Cmd_Ok_Click(), outcome == "table");
        else if (action == "Cancel")
            child<QPushButton>(w, "Cmd_Annuler")->click();
        else
            QTest::keyClick(child(w, qPrintable(key[1])), key[0] == "Return" ? Qt::Key_Return : Qt::Key_Enter,
                            key[0] == "Return" ? Qt::NoModifier : Qt::KeypadModifier);
        flush();
        QCOMPARE(bool(findForm(QStringLiteral("frmTableau_Evenements"))), outcome == "table");
        QCOMPARE(bool(findForm(QStringLiteral("frmInTableau"))), outcome == "refused");
        QCOMPARE(shown(*m_messages), outcome != "refused" ? QString()
                                                          : msg("Please, Can you write the date again !!!",
                                                                "There is a problem with the parameters  !!!",
                                                                MsgIcon::Critical));
        // The dates are stored either way, and proposed the next time.
        const QString format = QStringLiteral("dd/MM/yyyy");
        QCOMPARE(storedDates(), start.toString(format) + " - " + end.toString(format));
        w = qobject_cast<frmInTableau *>(openDialog(eventsView));
        QCOMPARE(child<QDateEdit>(w, "DTP_Jour_Start")->date(), start);
        QCOMPARE(child<QDateEdit>(w, "DTP_Jour_End")->date(), end);
    }

    void tableWindow_data()
    {
        addDataRows(QStringLiteral("tables/cases.txt"), QStringLiteral("table windows"));
    }
    void tableWindow()
    {
        QFETCH(QStringList, c);
        const int version = c[1].toInt();
        const QString view = c[2];
        const QStringList period = items(c[3]), leq = items(c.value(4));
        resetStore(version);
        if (!leq.isEmpty())
            fillLeq(appStore().Leq_Records, leq);
        QWidget *w = openTable(view, period[0], period[1]);
        QVERIFY(w);
        KVL_COMPARE_REF("windows/tables.txt", QTest::currentDataTag(), windowTexts(w));
        QVERIFY(!openFlags().Open_frmInTableau);
        if (view == leqView)
            QCOMPARE(appStore().Leq_Count, leqRows(version));
        // A list holding a message (it starts with empty lines) shows it large and bold.
        for (QListWidget *list : w->findChildren<QListWidget *>()) {
            const bool message = list->count() > 0 && list->item(0)->text().isEmpty();
            QCOMPARE(list->font().pointSize(), message ? 12 : 8);
            QCOMPARE(list->font().bold(), message);
        }
    }

    // A cancelled printer dialog, then a printer that cannot start: nothing is
    // printed and the window is given back (the printouts: tst_fileoutput).
    void printFails()
    {
        resetStore(4);
        QWidget *w = openTable(eventsView, "27/02/2008", "02/03/2008");
        QVERIFY(w);
        QTemporaryDir dir;
        ScriptedDialogs dialogs;
        dialogs.printerAnswers = {false, true};
        dialogs.printerPdfPath = dir.filePath(QStringLiteral("missing/table.pdf"));
        for (int request = 1; request <= 2; ++request) {
            QVERIFY(!qobject_cast<TableForm *>(w)->Cmd_Print_Click());
            QCOMPARE(dialogs.printerRequests, request);
            QVERIFY(w->isEnabled());
            QVERIFY(!QApplication::overrideCursor());
        }
        QVERIFY(!QFile::exists(dialogs.printerPdfPath));
    }

    void dialog_data() { addDataRows(QStringLiteral("report/cases.txt"), QStringLiteral("window")); }
    void dialog()
    {
        QFETCH(QStringList, c);
        QTemporaryDir dir;
        Store &store = appStore();
        store = Store();
        QVERIFY(loadSample(QStringLiteral("sample_v5.kvl"), store));
        store.Data_File_Path = QStringLiteral("/data/sample_v5.kvl");
        ScriptedDialogs dialogs;
        const QString file = dir.filePath(QStringLiteral("r.pdf"));
        if (c[4] == "FILE")
            dialogs.saveAnswers << file;
        else if (c[4] == "NODIR")
            dialogs.saveAnswers << dir.filePath(QStringLiteral("no/r.pdf"));

        QPointer<QWidget> form = openForm(QStringLiteral("frmInRapport"));
        QVERIFY(form);
        form->findChild<QRadioButton *>(c[1])->setChecked(true);
        auto *end = form->findChild<QDateEdit *>(QStringLiteral("DTP_Jour_End"));
        QCOMPARE(end->isEnabled(), c[1] == "Option_Periode");
        form->findChild<QDateEdit *>(QStringLiteral("DTP_Jour_Start"))
            ->setDate(QDate::fromString(c[2], Qt::ISODate));
        if (!c[3].isEmpty())
            end->setDate(QDate::fromString(c[3], Qt::ISODate));
        const bool done = static_cast<frmInRapport *>(form.data())->Cmd_Ok_Click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        QCOMPARE(shown(*m_messages), QString(c[5]).replace(QStringLiteral("DIR"), dir.path()));
        QCOMPARE(dialogs.saveRequests, items(QString(c[6]).replace(QStringLiteral("DIR"), dir.path())));
        QCOMPARE(done, c[7] == "0");
        QCOMPARE(!form.isNull() && form->isVisible(), c[7] == "1");
        // A PDF when written, nothing left behind otherwise.
        QFile pdf(file);
        QCOMPARE(pdf.open(QIODevice::ReadOnly) && pdf.read(5) == "%PDF-", c[4] == "FILE");
        QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size(),
                 c[4] == "FILE" ? 1 : 0);
    }
};

QTEST_MAIN(TablesTest)
#include "tst_tables.moc"
