// The archive in the program: a period lying across two downloads shows the
// same tables and diagram as one file holding it all, the data
// source's "Archive" choice, the devices list, the import window, downloads added.

#include "Generator.h"
#include "SampleFile.h"
#include "TableStores.h"
#include "TestSupport.h"
#include "WindowTest.h"
#include "archive/AppArchive.h"
#include "archive/ArchiveForms.h"
#include "charts/ChartPeriod.h"
#include "charts/PictureBox.h"
#include "files/DataFile.h"
#include "files/frmData_Type.h"
#include "shell/AppHooks.h"
#include "shell/Forms.h"
#include "store/Names.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
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
    for (const PictureBox *box : w->findChildren<PictureBox *>())
        for (const CanvasItem &i : box->canvas().items())
            QDebug(&out.emplace_back()) << box->objectName() << i.kind << i.x1 << i.y1 << i.x2 << i.y2
                                        << i.text << i.colour.r << i.colour.g << i.colour.b;
    return out;
}

std::unique_ptr<Store> loaded(const QByteArray &file)
{
    auto s = std::make_unique<Store>();
    if (readDataFile(file, *s).result != LoadOutcome::Loaded)
        qFatal("a generated data file did not load");
    return s;
}

// The file with only the Leq records and events from `first` to before
// `end`: the others are blanked, and the archive leaves them out as any
// invalid row.
std::unique_ptr<Store> partOf(const QByteArray &file, qint64 first, qint64 end)
{
    auto s = loaded(file);
    auto blank = [&](auto &table) {
        for (int r = 1; r <= table.rowCount; ++r)
            if (recordStamp(table.row(r)) < first || recordStamp(table.row(r)) >= end)
                std::fill_n(table.row(r), table.fieldCount, qint16(255));
    };
    blank(s->Leq_Records);
    blank(s->Event_Records);
    return s;
}

} // namespace

class TestArchiveWindow : public WindowTest
{
    Q_OBJECT

    QTemporaryDir m_dir;
    ScriptedDialogs m_dialogs;
    QDate m_middle;
    // The last of six weekly downloads of one device: it holds every record.
    QByteArray m_whole;
    qint64 m_device = 0;

    // Two downloads that each hold part of the week around m_middle.
    void importHistory()
    {
        const qint64 cutA = dayStartStamp(m_middle.addDays(2)), cutB = dayStartStamp(m_middle.addDays(-2));
        const qint64 never = dayEndStamp(QDate(2098, 12, 31));
        m_device = appArchive()->importStore(*partOf(m_whole, 0, cutA), {"a.kvl", "a"}).device;
        QCOMPARE(appArchive()->importStore(*partOf(m_whole, cutB, never), {"b.kvl", "b"}).device, m_device);
    }

    // Chooses the archive's device in the data source window for a view.
    void chooseArchive(RequestedView view)
    {
        appStore() = Store();
        appStore().Requested_View = view;
        auto *source = qobject_cast<frmData_Type *>(openForm(QStringLiteral("frmData_Type")));
        QCOMPARE(child<QComboBox>(source, "Combo_Archive")->currentText(),
                 QStringLiteral("KVL 24-2 5.X  ") + serialNumberOf(*loaded(m_whole)));
        child<QRadioButton>(source, "Option_Archive")->click();
        QVERIFY(child<QPushButton>(source, "Cmd_Ok")->isEnabled());
        source->Cmd_Ok_Click();
        QCOMPARE(archiveSessionDevice(), m_device);
        QVERIFY(appStore().Data_Loaded);
        // The period dialog shows the archive's span, not the newest day loaded.
        const ArchiveDevice d = appArchive()->devices().value(0);
        QCOMPARE(child<QLabel>(findForm(firstWindowOfView(view, Version5X)), "Label_Recorded_Data")->text(),
                 recordedDataText(RecordedSpan{d.first, d.last}));
    }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        WindowTest::initTestCase();
        m_middle = kvlsim::generateHistory(Version5X, 61, 6, 1).downloadDays[2];
        m_whole = kvlsim::historyDataFiles(Version5X, 61, 6, 1).back().bytes;
    }

    void init()
    {
        closeAppArchive();
        static int n = 0;
        qputenv("KVL_ARCHIVE", QFile::encodeName(m_dir.filePath(QStringLiteral("a%1.sqlite").arg(n++))));
        WindowTest::init();
        setArchiveDownloads(true);
    }

    void cleanup()
    {
        for (const QString &name :
             {QStringLiteral("frmArchive_Devices"), QStringLiteral("frmArchive_Import")})
            closeForm(name);
        WindowTest::cleanup();
        endArchiveSession();
        setQuestionHandler({});
        setTransferStarter({});
    }

    void periodAcrossTwoDownloads_data() { addDataRows(QStringLiteral("archive/rows.txt"), "views"); }

    void periodAcrossTwoDownloads()
    {
        QFETCH(QStringList, c);
        const QString window = c[1];
        const int days = c[2].toInt();
        const RequestedView view = window == QLatin1String("frmGraphique_Leq") ? RequestedView::LeqChart
                                   : window == QLatin1String("frmTableau_Leq_V5")
                                       ? RequestedView::LeqTable
                                       : RequestedView::EventsTable;
        importHistory();
        const QDate from = m_middle.addDays(-3), to = from.addDays(days);
        MessageRecorder messages;
        auto show = [&](Store &s) {
            s.Requested_View = view;
            setPeriod(s, from.toString(QStringLiteral("dd/MM/yyyy")),
                      to.toString(QStringLiteral("dd/MM/yyyy")));
            if (view == RequestedView::LeqChart) {
                storeChartPeriod(s, ChartDate{from.day(), from.month(), from.year()}, days);
                s.Chart_Days = qint16(days);
            }
            return viewDump(openForm(window));
        };
        // The file that holds the whole period.
        appStore() = *loaded(m_whole);
        const QStringList expected = show(appStore());
        closeWindows();

        // The same period from the archive, through the data source window.
        chooseArchive(view);
        QVERIFY(loadArchivePeriod(appStore(), from, to));
        QCOMPARE(show(appStore()), expected);
        QVERIFY2(messages.messages.isEmpty(), qPrintable(shown(messages)));
    }

    void devicesList()
    {
        importHistory();
        const QByteArray other = kvlsim::sampleDataFile(Version35, 3, 2);
        appArchive()->importStore(*loaded(other), {QStringLiteral("v3.kvl"), sha256Hex(other)});
        auto *w = qobject_cast<frmArchive_Devices *>(openForm(QStringLiteral("frmArchive_Devices")));
        auto *list = child<QTableWidget>(w, "List_Appareils");
        QStringList rows;
        for (int r = 0; r < list->rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < list->columnCount(); ++c)
                cells << list->item(r, c)->text();
            rows << cells.join(QStringLiteral(" | "));
        }
        KVL_COMPARE_REF(QStringLiteral("windows/archive.txt"), QStringLiteral("devices"), rows);

        // No keeps the device, Yes removes it.
        QStringList asked;
        for (bool confirm : {false, true}) {
            setQuestionHandler([&](const QString &text, const QString &caption) {
                asked << caption + QStringLiteral(" / ") + text;
                return confirm;
            });
            list->selectRow(1);
            w->Cmd_Supprimer_Click();
            QCOMPARE(list->rowCount(), confirm ? 1 : 2);
            QCOMPARE(appArchive()->devices().size(), confirm ? 1 : 2);
        }
        KVL_COMPARE_REF(QStringLiteral("windows/archive.txt"), QStringLiteral("remove question"), asked);
        QCOMPARE(appArchive()->devices().value(0).version, int(Version35));
    }

    // Cancelled between the first file and the second, then all of them: the
    // first is there already, another given twice, one refused.
    void importWindow()
    {
        const QStringList files = {m_dir.filePath("s71.kvl"), m_dir.filePath("s72.kvl"),
                                   m_dir.filePath("s71.kvl"), m_dir.filePath("refused.kvl")};
        const QByteArray bytes[] = {kvlsim::sampleDataFile(Version5X, 71, 1),
                                    kvlsim::sampleDataFile(Version5X, 72, 1),
                                    "KVL_24-2_Data_for_Version_5!!!\r\n 1234567"};
        for (int i : {0, 1, 3}) {
            QFile f(files[i]);
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes[std::min(i, 2)]) > 0);
        }
        MessageRecorder messages;
        auto *cancelled = new frmArchive_Import;
        cancelled->start(files, false);
        cancelled->importNext();
        cancelled->Cmd_Annuler_Click();
        QVERIFY(cancelled->isUnloaded());

        m_dialogs.openManyAnswers = {files};
        QPointer<QWidget> w = openForm(QStringLiteral("frmArchive_Import"));
        QVERIFY(w);
        QTRY_VERIFY(w.isNull() || static_cast<frmArchive_Import *>(w.data())->isUnloaded());
        KVL_COMPARE_REF(QStringLiteral("windows/archive.txt"), QStringLiteral("import"),
                        shown(messages).split(QLatin1Char('\n')));
    }

    void periodTooLongIsSaid()
    {
        // Two downloads twenty weeks apart: each memory full, together too
        // many Leq records for one view.
        qint64 device = 0;
        for (const kvlsim::HistoryFile &f : kvlsim::historyDataFiles(Version5X, 62, 40, 20))
            device = appArchive()->importStore(*loaded(f.bytes), {f.name, sha256Hex(f.bytes)}).device;
        startArchiveSession(device);
        const ArchiveDevice d = appArchive()->devices().value(0);
        MessageRecorder messages;
        auto store = std::make_unique<Store>();
        store->Data_Loaded = true;
        store->Leq_Records(1, 1) = 42;
        QVERIFY(!loadArchivePeriod(*store, d.first, d.last));
        KVL_COMPARE_REF(QStringLiteral("windows/archive.txt"), QStringLiteral("period too long"),
                        QStringList{shown(messages)});
        // Nothing of the store changed.
        QVERIFY(store->Data_Loaded);
        QCOMPARE(store->Leq_Records(1, 1), qint16(42));
    }

    // A download turned off makes no archive; turned on, it goes into it.
    void downloadsAdded()
    {
        appStore().Com_Port = 1;
        setTransferStarter([](std::function<void()> done) {
            kvlsim::downloadInto(appStore(), Version5X, 81, 2);
            appStore().Cancel_Flag = false;
            done();
        });
        MessageRecorder messages;
        for (bool on : {false, true}) {
            setArchiveDownloads(on);
            appStore().Requested_View = RequestedView::Parameters;
            auto *w = qobject_cast<frmData_Type *>(openForm(QStringLiteral("frmData_Type")));
            // No archive file yet: no such choice, and none made.
            QVERIFY(!child<QRadioButton>(w, "Option_Archive"));
            QVERIFY(!QFile::exists(archivePath()));
            child<QRadioButton>(w, "Option_New_Transfert")->click();
            w->Cmd_Ok_Click();
            QCOMPARE(QFile::exists(archivePath()), on);
            closeWindows();
        }
        QVERIFY(messages.messages.isEmpty());
        QCOMPARE(appArchive()->devices().value(0).serial, appStore().Serial_Number);
    }

    void unusableArchiveSaidOnce()
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
};

QTEST_MAIN(TestArchiveWindow)
#include "tst_archive_window.moc"
