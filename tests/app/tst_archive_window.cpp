// The archive in the program: a period lying across two downloads shows the
// same tables and diagram as one file holding it all, the data source's
// "Archive" choice, the devices list, the import window, downloads added.

#include "Generator.h"
#include "SampleFile.h"
#include "TestSupport.h"
#include "WindowTest.h"
#include "archive/AppArchive.h"
#include "archive/ArchiveForms.h"
#include "charts/ChartPeriod.h"
#include "charts/PictureBox.h"
#include "files/DataFile.h"
#include "files/frmData_Type.h"
#include "report/ComplianceReport.h"
#include "report/frmInRapport.h"
#include "shell/AppHooks.h"
#include "shell/Forms.h"
#include "shell/frmMain.h"
#include "store/Names.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

using namespace kvl;
using namespace kvl::test;

namespace {

template <typename T> T *child(QWidget *w, const char *name)
{
    return w ? w->findChild<T *>(QString::fromLatin1(name)) : nullptr;
}

// Every text of a view and every item its diagrams hold.
QStringList viewDump(QWidget *w)
{
    QStringList out = windowTexts(w);
    for (const PictureBox *box : w->findChildren<PictureBox *>()) {
        for (const CanvasItem &i : box->canvas().items())
            out << QStringLiteral("%1 %2 %3,%4 %5,%6 %7 %8/%9/%10")
                       .arg(box->objectName())
                       .arg(int(i.kind))
                       .arg(i.x1)
                       .arg(i.y1)
                       .arg(i.x2)
                       .arg(i.y2)
                       .arg(i.text)
                       .arg(i.colour.r)
                       .arg(i.colour.g)
                       .arg(i.colour.b);
    }
    return out;
}

template <typename Table>
void fillRows(Table &table, int rows, const std::vector<std::array<qint16, Table::fieldCount>> &records,
              const std::function<bool(const qint16 *)> &keep)
{
    table.fill(255);
    int r = 0;
    for (const auto &rec : records)
        if (keep(rec.data()) && r < rows)
            std::copy(rec.begin(), rec.end(), table.row(++r));
}

// A store holding the records `keep` selects, sorted as a download is,
// saved and loaded back through a data file.
std::unique_ptr<Store> storeOf(const kvlsim::DeviceHistory &h,
                               const std::function<bool(const qint16 *)> &keep)
{
    auto s = std::make_unique<Store>();
    s->Device_Version = Version5X;
    s->Leq_Count = LeqRowsMax;
    auto sorted = [](auto rows) {
        std::stable_sort(rows.begin(), rows.end(), [](const auto &a, const auto &b) {
            return recordStamp(a.data()) < recordStamp(b.data());
        });
        return rows;
    };
    fillRows(s->Leq_Records, LeqRowsMax, sorted(h.leq), keep);
    fillRows(s->Event_Records, EventRows, sorted(h.events), keep);
    fillRows(s->Param_History, HistoryRows, sorted(h.history), [](const qint16 *) { return true; });
    const auto &block = h.downloads.back().paramBlock;
    for (int i = 0; i < ParamBlockTable::size; ++i)
        s->Param_Block[i] = block[std::size_t(i)];
    s->Transfer_Date = h.downloadDays.back().toString(QStringLiteral("dd/MM/yyyy"));
    s->Transfer_Time = QStringLiteral("09:41:27");
    auto back = std::make_unique<Store>();
    if (readDataFile(buildDataFile(*s, Version5X), *back).result != LoadOutcome::Loaded)
        qFatal("store not saved and loaded");
    return back;
}

void setPeriod(Store &s, const QDate &from, const QDate &to)
{
    s.Start_Day = twoDigitText(from.day());
    s.Start_Month = twoDigitText(from.month());
    s.Start_Year = QString::number(from.year());
    s.End_Day = twoDigitText(to.day());
    s.End_Month = twoDigitText(to.month());
    s.End_Year = QString::number(to.year());
}

} // namespace

class TestArchiveWindow : public WindowTest
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void periodAcrossTwoDownloads_data();
    void periodAcrossTwoDownloads();
    void dataSourceOffersArchive();
    void devicesList_data();
    void devicesList();
    void importWindow_data();
    void importWindow();
    void periodTooLongIsSaid();
    void reportFromArchive();
    void downloadsAdded_data();
    void downloadsAdded();
    void unusableArchiveSaidOnce();
    void screenshots();

private:
    void importHistory();
    QTemporaryDir m_dir;
    ScriptedDialogs *m_dialogs = nullptr;
    kvlsim::DeviceHistory m_history;
    qint64 m_device = 0;
    QDate m_middle;
};

void TestArchiveWindow::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    WindowTest::initTestCase();
    m_dialogs = new ScriptedDialogs;
    // Six weeks of one device downloaded every week.
    m_history = kvlsim::generateHistory(Version5X, 61, 6, 1);
}

void TestArchiveWindow::cleanupTestCase()
{
    closeAppArchive();
    delete m_dialogs;
    WindowTest::cleanupTestCase();
}

void TestArchiveWindow::init()
{
    closeAppArchive();
    static int n = 0;
    qputenv("KVL_ARCHIVE", QFile::encodeName(m_dir.filePath(QStringLiteral("a%1.sqlite").arg(n++))));
    WindowTest::init();
    setArchiveDownloads(true);
}

void TestArchiveWindow::cleanup()
{
    for (const QString &name : {QStringLiteral("frmArchive_Devices"), QStringLiteral("frmArchive_Import")})
        closeForm(name);
    WindowTest::cleanup();
    endArchiveSession();
}

// Two downloads that each hold part of the week around m_middle.
void TestArchiveWindow::importHistory()
{
    m_middle = m_history.downloadDays[2];
    const qint64 cutA = dayStartStamp(m_middle.addDays(2)), cutB = dayStartStamp(m_middle.addDays(-2));
    auto a = storeOf(m_history, [&](const qint16 *r) { return recordStamp(r) < cutA; });
    auto b = storeOf(m_history, [&](const qint16 *r) { return recordStamp(r) >= cutB; });
    Archive *archive = appArchive();
    QVERIFY(archive);
    m_device = archive->importStore(*a, {QStringLiteral("a.kvl"), QByteArray("a")}).device;
    QCOMPARE(archive->importStore(*b, {QStringLiteral("b.kvl"), QByteArray("b")}).device, m_device);
}

void TestArchiveWindow::periodAcrossTwoDownloads_data()
{
    QTest::addColumn<RequestedView>("view");
    QTest::addColumn<QString>("window");
    QTest::addColumn<int>("days");
    QTest::newRow("7-day diagram") << RequestedView::LeqChart << "frmGraphique_Leq" << 7;
    QTest::newRow("3-day diagram") << RequestedView::LeqChart << "frmGraphique_Leq" << 3;
    QTest::newRow("Leq tables") << RequestedView::LeqTable << "frmTableau_Leq_V5" << 6;
    QTest::newRow("events table") << RequestedView::EventsTable << "frmTableau_Evenements" << 6;
}

void TestArchiveWindow::periodAcrossTwoDownloads()
{
    QFETCH(RequestedView, view);
    QFETCH(QString, window);
    QFETCH(int, days);
    importHistory();
    const QDate from = m_middle.addDays(-3), to = from.addDays(days);
    MessageRecorder messages;

    // The file that holds the whole period.
    auto whole = storeOf(m_history, [](const qint16 *) { return true; });
    auto show = [&](Store &s) {
        s.Requested_View = view;
        setPeriod(s, from, to);
        if (view == RequestedView::LeqChart) {
            storeChartPeriod(s, ChartDate{from.day(), from.month(), from.year()}, days);
            s.Chart_Days = qint16(days);
        }
        return viewDump(openForm(window));
    };
    appStore() = *whole;
    const QStringList expected = show(appStore());
    closeWindows();
    QVERIFY(expected.size() > 20);

    // The same period from the archive, through the data source window.
    appStore() = Store();
    appStore().Requested_View = view;
    auto *source = qobject_cast<frmData_Type *>(openForm(QStringLiteral("frmData_Type")));
    QRadioButton *archive = child<QRadioButton>(source, "Option_Archive");
    QVERIFY(archive);
    archive->click();
    source->Cmd_Ok_Click();
    QCOMPARE(archiveSessionDevice(), m_device);
    QVERIFY(loadArchivePeriod(appStore(), from, to));
    const QStringList got = show(appStore());
    QCOMPARE(got, expected);
    QVERIFY2(messages.messages.isEmpty(), qPrintable(shown(messages)));
}

void TestArchiveWindow::dataSourceOffersArchive()
{
    // No archive file: no choice, and nothing created.
    auto *w = qobject_cast<frmData_Type *>(openForm(QStringLiteral("frmData_Type")));
    QVERIFY(!child<QRadioButton>(w, "Option_Archive"));
    QVERIFY(!QFile::exists(archivePath()));
    closeWindows();

    importHistory();
    appStore().Requested_View = RequestedView::LeqChart;
    w = qobject_cast<frmData_Type *>(openForm(QStringLiteral("frmData_Type")));
    const QString serial = serialNumberOf(*storeOf(m_history, [](const qint16 *) { return false; }));
    QCOMPARE(child<QComboBox>(w, "Combo_Archive")->currentText(), QStringLiteral("KVL 24-2 5.X  ") + serial);
    child<QRadioButton>(w, "Option_Archive")->click();
    QVERIFY(child<QPushButton>(w, "Cmd_Ok")->isEnabled());
    w->Cmd_Ok_Click();
    // The chart dialog shows the archive's span, not the newest day loaded.
    QWidget *dialog = findForm(QStringLiteral("frmInGraphique_v5"));
    QVERIFY(dialog);
    const ArchiveDevice d = appArchive()->devices().value(0);
    QCOMPARE(child<QLabel>(dialog, "Label_Recorded_Data")->text(),
             QStringLiteral("Recorded data: %1 to %2")
                 .arg(d.first.toString(QStringLiteral("dd/MM/yyyy")),
                      d.last.toString(QStringLiteral("dd/MM/yyyy"))));
    QVERIFY(appStore().Data_Loaded);
    QCOMPARE(appStore().Serial_Number, serial);
}

void TestArchiveWindow::devicesList_data()
{
    QTest::addColumn<bool>("confirm");
    QTest::newRow("No keeps the device") << false;
    QTest::newRow("Yes removes it") << true;
}

void TestArchiveWindow::devicesList()
{
    QFETCH(bool, confirm);
    importHistory();
    const QByteArray other = kvlsim::sampleDataFile(Version35, 3, 2);
    auto s = std::make_unique<Store>();
    QCOMPARE(readDataFile(other, *s).result, LoadOutcome::Loaded);
    appArchive()->importStore(*s, {QStringLiteral("v3.kvl"), sha256Hex(other)});

    auto *w = qobject_cast<frmArchive_Devices *>(openForm(QStringLiteral("frmArchive_Devices")));
    QVERIFY(w);
    auto *list = child<QTableWidget>(w, "List_Appareils");
    QCOMPARE(list->rowCount(), 2);
    QStringList rows;
    for (int r = 0; r < list->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < list->columnCount(); ++c)
            cells << list->item(r, c)->text();
        rows << cells.join(QStringLiteral(" | "));
    }
    KVL_COMPARE_REF(QStringLiteral("windows/archive.txt"), QStringLiteral("devices"), rows);

    QStringList asked;
    setQuestionHandler([&](const QString &text, const QString &caption) {
        asked << caption + QStringLiteral(" / ") + text;
        return confirm;
    });
    list->selectRow(1);
    w->Cmd_Supprimer_Click();
    setQuestionHandler({});
    KVL_COMPARE_REF(QStringLiteral("windows/archive.txt"), QStringLiteral("remove question"), asked);
    QCOMPARE(list->rowCount(), confirm ? 1 : 2);
    QCOMPARE(appArchive()->devices().size(), confirm ? 1 : 2);
    QCOMPARE(appArchive()->devices().value(0).version, int(Version35));
}

void TestArchiveWindow::importWindow_data()
{
    QTest::addColumn<bool>("cancel");
    QTest::newRow("three files, one twice, one refused") << false;
    QTest::newRow("cancelled at once") << true;
}

void TestArchiveWindow::importWindow()
{
    QFETCH(bool, cancel);
    QStringList files;
    for (int seed : {71, 72}) {
        files << m_dir.filePath(QStringLiteral("s%1.kvl").arg(seed));
        QFile f(files.last());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(kvlsim::sampleDataFile(Version5X, quint32(seed), 1));
    }
    files << files.first();
    files << m_dir.filePath(QStringLiteral("refused.kvl"));
    QFile bad(files.last());
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write("KVL_24-2_Data_for_Version_5!!!\r\n 1234567");
    bad.close();

    MessageRecorder messages;
    if (cancel) {
        // Cancel between the first file and the second.
        auto *w = new frmArchive_Import;
        w->start(files, false);
        w->importNext();
        w->Cmd_Annuler_Click();
        QVERIFY(w->isUnloaded());
    } else {
        m_dialogs->openManyAnswers = {files};
        QPointer<QWidget> w = openForm(QStringLiteral("frmArchive_Import"));
        QVERIFY(w);
        QTRY_VERIFY(w.isNull() || static_cast<frmArchive_Import *>(w.data())->isUnloaded());
    }
    KVL_COMPARE_REF(QStringLiteral("windows/archive.txt"),
                    QStringLiteral("import ") + QTest::currentDataTag(), QStringList{shown(messages)});
}

void TestArchiveWindow::periodTooLongIsSaid()
{
    // Two downloads twenty weeks apart: each memory full, together too many
    // Leq records for one view.
    qint64 device = 0;
    for (const kvlsim::HistoryFile &f : kvlsim::historyDataFiles(Version5X, 62, 40, 20)) {
        auto s = std::make_unique<Store>();
        QCOMPARE(readDataFile(f.bytes, *s).result, LoadOutcome::Loaded);
        device = appArchive()->importStore(*s, {f.name, sha256Hex(f.bytes)}).device;
    }
    startArchiveSession(device);
    const ArchiveDevice d = appArchive()->devices().value(0);
    MessageRecorder messages;
    auto store = std::make_unique<Store>();
    store->Data_Loaded = true;
    QVERIFY(!loadArchivePeriod(*store, d.first, d.last));
    KVL_COMPARE_REF(QStringLiteral("windows/archive.txt"), QStringLiteral("period too long"),
                    QStringList{shown(messages)});
    // The longest period it names does load.
    const PeriodFit fit = appArchive()->periodFit(device, d.first, d.last);
    QVERIFY(loadArchivePeriod(*store, d.first, fit.longestEnd));
    QCOMPARE(messages.messages.size(), 1);
}

// The report dialog on the archive: a week across the two downloads gives the
// report a file holding the whole week gives.
void TestArchiveWindow::reportFromArchive()
{
    importHistory();
    const QDate from = m_middle.addDays(-3), to = m_middle.addDays(3);
    MessageRecorder messages;
    appStore().Requested_View = RequestedView::Report;
    auto *source = qobject_cast<frmData_Type *>(openForm(QStringLiteral("frmData_Type")));
    child<QRadioButton>(source, "Option_Archive")->click();
    source->Cmd_Ok_Click();
    auto *dialog = qobject_cast<frmInRapport *>(findForm(QStringLiteral("frmInRapport")));
    QVERIFY(dialog);
    child<QRadioButton>(dialog, "Option_Periode")->setChecked(true);
    child<QDateEdit>(dialog, "DTP_Jour_Start")->setDate(from);
    child<QDateEdit>(dialog, "DTP_Jour_End")->setDate(to);
    const QString pdf = m_dir.filePath(QStringLiteral("week.pdf"));
    m_dialogs->saveAnswers << pdf;
    QVERIFY(dialog->Cmd_Ok_Click());
    QVERIFY2(messages.messages.isEmpty(), qPrintable(shown(messages)));
    QFile written(pdf);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.read(5), QByteArray("%PDF-"));

    // What the dialog loaded makes the same document as the whole history.
    ReportRequest request;
    request.period = DateRange{from, to};
    request.source = ReportSource{SourceKind::Archive, QStringLiteral("archive")};
    request.generated = QDateTime(from, QTime(12, 0));
    request.version = programVersion();
    auto document = [&](const Store &s) {
        auto work = std::make_unique<Store>(s);
        Lire_Numero_Serie(*work);
        return documentTexts(buildComplianceReport(*work, request));
    };
    auto whole = storeOf(m_history, [](const qint16 *) { return true; });
    const QStringList expected = document(*whole);
    QVERIFY(expected.size() > 50);
    QCOMPARE(document(appStore()), expected);
}

void TestArchiveWindow::downloadsAdded_data()
{
    QTest::addColumn<bool>("on");
    QTest::newRow("on") << true;
    QTest::newRow("turned off") << false;
}

void TestArchiveWindow::downloadsAdded()
{
    QFETCH(bool, on);
    setArchiveDownloads(on);
    Store &s = appStore();
    s.Com_Port = 1;
    s.Requested_View = RequestedView::Parameters;
    setTransferStarter([](std::function<void()> done) {
        kvlsim::downloadInto(appStore(), Version5X, 81, 2);
        appStore().Cancel_Flag = false;
        done();
    });
    MessageRecorder messages;
    auto *w = qobject_cast<frmData_Type *>(openForm(QStringLiteral("frmData_Type")));
    child<QRadioButton>(w, "Option_New_Transfert")->click();
    w->Cmd_Ok_Click();
    setTransferStarter({});
    QVERIFY(messages.messages.isEmpty());
    QCOMPARE(QFile::exists(archivePath()), on);
    if (on) {
        const QList<ArchiveDevice> devices = appArchive()->devices();
        QCOMPARE(devices.size(), 1);
        QCOMPARE(devices[0].serial, appStore().Serial_Number);
    }
}

void TestArchiveWindow::unusableArchiveSaidOnce()
{
    QFile f(archivePath());
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(QByteArray("not a database, just some text").repeated(100));
    f.close();
    MessageRecorder messages;
    Store &s = appStore();
    QVERIFY(kvlsim::downloadInto(s, Version5X, 82, 1));
    archiveCompletedDownload(s);
    archiveCompletedDownload(s);
    // The data source window goes on without the choice.
    auto *w = qobject_cast<frmData_Type *>(openForm(QStringLiteral("frmData_Type")));
    QVERIFY(!child<QRadioButton>(w, "Option_Archive"));
    QCOMPARE(messages.messages.size(), 1);
    QCOMPARE(messages.messages[0].text, archiveStatusText(ArchiveStatus::NotAnArchive));
    QVERIFY(s.Data_Loaded);
}

// Pictures for people: run under Xvfb with QT_QPA_PLATFORM=xcb and
// KVL_SCREENSHOTS=<folder>; each is a grab of the whole screen.
void TestArchiveWindow::screenshots()
{
    const QString folder = qEnvironmentVariable("KVL_SCREENSHOTS");
    if (folder.isEmpty())
        QSKIP("KVL_SCREENSHOTS not set");
    auto grab = [&](const QString &name) {
        QTest::qWait(400);
        QVERIFY(QGuiApplication::primaryScreen()->grabWindow(0).save(QDir(folder).filePath(name)));
    };
    importHistory();
    m_main->resize(1000, 700);
    m_main->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_main.data()));

    auto *menu = m_main->findChild<QMenu *>(QStringLiteral("mnuArchiveMenu"));
    QAction *entry = m_main->findChild<QAction *>(QStringLiteral("mnuArchive"));
    menu->popup(m_main->mapToGlobal(m_main->menuBar()->actionGeometry(entry).bottomLeft()));
    grab(QStringLiteral("archive-menu.png"));
    menu->close();

    openForm(QStringLiteral("frmArchive_Devices"));
    grab(QStringLiteral("archive-devices.png"));
    closeForm(QStringLiteral("frmArchive_Devices"));

    // A week across the two downloads, from the data source window on.
    appStore().Requested_View = RequestedView::LeqChart;
    auto *source = qobject_cast<frmData_Type *>(openForm(QStringLiteral("frmData_Type")));
    child<QRadioButton>(source, "Option_Archive")->click();
    source->Cmd_Ok_Click();
    QWidget *dialog = findForm(QStringLiteral("frmInGraphique_v5"));
    QVERIFY(dialog);
    child<QDateEdit>(dialog, "DTPicker1")->setDate(m_middle.addDays(-3));
    child<QRadioButton>(dialog, "Option_7_Jours")->click();
    child<QPushButton>(dialog, "Cmd_Ok")->click();
    QTRY_VERIFY(findForm(QStringLiteral("frmGraphique_Leq")));
    grab(QStringLiteral("archive-chart-7-days.png"));
}

QTEST_MAIN(TestArchiveWindow)
#include "tst_archive_window.moc"
