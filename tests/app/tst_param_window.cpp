// The parameter sheet window, offscreen: its texts, selector and printing.

#include "../core/TableStores.h"
#include "Generator.h"
#include "TestSupport.h"
#include "files/DataFile.h"
#include "link/Decode.h"
#include "params/ParamSheet.h"
#include "params/frmParametres_v4.h"
#include "shell/AppHooks.h"
#include "shell/Forms.h"
#include "store/Store.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace kvl;

namespace {

const QColor Design(197, 207, 237);

// A store of a version with `records` dated parameter records, one a day
// from 1 January 2026, day level 80 + record number.
void fillStore(Store &s, int version, int records)
{
    s = Store();
    s.Device_Version = qint16(version);
    s.Param_History.fill(255);
    s.Transfer_Date = QStringLiteral("06/12/2026");
    s.Transfer_Time = QStringLiteral("14:05:33");
    ParamBlockTable &b = s.Param_Block;
    using namespace block;
    const std::pair<int, int> elements[] = {{FirmwareMajor, 172},     {FirmwareMinor, 76}, {Analysis, 16 + 8},
                                            {Source, 1 + 12},         {LeqDay, 1},         {LeqDay + 1, 2},
                                            {LineRegulation + 1, 70}, {HourDayNight, 22},  {HourNightDay, 7},
                                            {BandRingNewestUnits, 3}};
    for (const auto &[i, v] : elements)
        b[i] = qint16(v);
    for (int i = SerialFirst; i <= SerialLast; ++i)
        b[i] = qint16(i - SerialFirst + 1);
    for (int r = 1; r <= records; ++r) {
        for (int f = 7; f <= 48; ++f)
            s.Param_History(r, f) = 0;
        const int stamp[6] = {0, 12, r, 0, 1, 26};
        for (int f = 1; f <= 6; ++f)
            if (f != 4)
                s.Param_History(r, f) = qint16(stamp[f - 1]);
        s.Param_History(r, history::LeqDay + 1) = qint16(80 + r);
    }
}

template <typename T> T *child(QWidget *form, const char *name)
{
    return form->findChild<T *>(QString::fromLatin1(name));
}

QString labelText(QWidget *form, const char *name)
{
    QLabel *label = child<QLabel>(form, name);
    return label ? label->text() : QStringLiteral("<missing>");
}

// Every label the sheet texts name shows its text.
void compareLabels(QWidget *form, const SheetTexts &expected)
{
    for (const auto &[name, text] : expected.labels())
        QCOMPARE(labelText(form, name.toLatin1().constData()), text);
}

void select(QWidget *form, int index)
{
    auto *combo = child<QComboBox>(form, "Combo_Jour");
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

bool isDesignColoured(QWidget *form)
{
    if (form->palette().color(QPalette::Window) != Design)
        return false;
    for (QLabel *label : form->findChildren<QLabel *>())
        if (label->palette().color(QPalette::Window) != Design)
            return false;
    return true;
}

frmParametres_v4 *openSheet()
{
    return qobject_cast<frmParametres_v4 *>(openForm(QStringLiteral("frmParametres_v4")));
}

} // namespace

class TestParamWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { registerParamsForms(); }
    void cleanup()
    {
        Fermer_Fenetres();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void opensForEachVersion_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<bool>("selector");
        QTest::addColumn<int>("headerTop");
        QTest::newRow("3.5") << 3 << false << 8;
        QTest::newRow("4.0") << 4 << false << 8;
        QTest::newRow("5.X") << 5 << true << 2;
        QTest::newRow("KVL 36") << 70 << true << 2;
    }

    void opensForEachVersion()
    {
        QFETCH(int, version);
        QFETCH(bool, selector);
        QFETCH(int, headerTop);
        fillStore(appStore(), version, 30);
        frmParametres_v4 *form = openSheet();
        QVERIFY(form);
        QVERIFY(openFlags().Open_frmParametres_v4);
        KVL_COMPARE_REF("windows/param_window.txt", QTest::currentDataTag(), test::windowTexts(form));
        QVERIFY(isDesignColoured(form));
        QCOMPARE(child<QLabel>(form, "Label_Entete")->geometry().top(), headerTop);
        QCOMPARE(child<QComboBox>(form, "Combo_Jour")->isVisible(), selector);
        QCOMPARE(child<QLabel>(form, "Label_Date")->isVisible(), selector);
        QCOMPARE(child<QComboBox>(form, "Combo_Jour")->count(), selector ? (version == 70 ? 25 : 30) : 0);
        // It fits the views' area of a maximised 800 x 600 main window.
        QVERIFY(form->minimumSizeHint().width() <= 780 && form->minimumSizeHint().height() <= 500);
        QCOMPARE(form->filterCardPresent(), true);
        for (const char *name : {"Cmd_Print", "Cmd_Exit"})
            QVERIFY2(!child<QPushButton>(form, name)->icon().isNull(), name);
    }

    void noValidHistoryAndQuit()
    {
        fillStore(appStore(), 5, 0);
        QPointer<frmParametres_v4> form = openSheet();
        QVERIFY(form);
        KVL_COMPARE_REF("windows/param_window.txt", "no history", test::windowTexts(form));
        QCOMPARE(form->currentPeriodText(), QString());

        QTest::mouseClick(child<QPushButton>(form, "Cmd_Exit"), Qt::LeftButton);
        QVERIFY(!openFlags().Open_frmParametres_v4);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(form.isNull());
    }

    void selectingEntries()
    {
        fillStore(appStore(), 5, 3);
        frmParametres_v4 *form = openSheet();
        QVERIFY(form);
        // The loaded sheet shows the current parameters, not a record; then
        // the oldest entry, then the newest.
        KVL_COMPARE_REF("windows/param_window.txt", "three records", test::windowTexts(form));
        select(form, 2);
        KVL_COMPARE_REF("windows/param_window.txt", "three records, oldest", test::windowTexts(form));
        select(form, 0);
        KVL_COMPARE_REF("windows/param_window.txt", "three records, newest", test::windowTexts(form));
    }

    void typingReverts()
    {
        fillStore(appStore(), 5, 3);
        frmParametres_v4 *form = openSheet();
        QVERIFY(form);
        auto *combo = child<QComboBox>(form, "Combo_Jour");
        select(form, 1);
        QTest::keyClicks(combo->lineEdit(), QStringLiteral("xy"));
        QCOMPARE(combo->currentText(), form->currentPeriodText());
        QTest::keyClick(combo->lineEdit(), Qt::Key_Backspace);
        QCOMPARE(combo->currentText(), form->currentPeriodText());
        QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
        QCOMPARE(combo->count(), 3);
    }

    void printImageIsWhiteWithoutButtons()
    {
        fillStore(appStore(), 5, 3);
        frmParametres_v4 *form = openSheet();
        QVERIFY(form);
        form->resize(760, 480);
        auto *print = child<QPushButton>(form, "Cmd_Print");
        auto *combo = child<QComboBox>(form, "Combo_Jour");
        const QImage image = form->printImage().toImage();
        const qreal ratio = image.devicePixelRatio();
        auto at = [&](QPoint p) { return image.pixelColor(int(p.x() * ratio), int(p.y() * ratio)); };
        QCOMPARE(at(QPoint(1, 1)), QColor(Qt::white));
        QCOMPARE(at(print->geometry().center()), QColor(Qt::white));
        QCOMPARE(at(combo->geometry().center()), QColor(Qt::white));
        // Taken and put back.
        QVERIFY(print->isVisible() && combo->isVisible());
        QVERIFY(isDesignColoured(form));
    }

    void printing_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<int>("records");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("printed");
        QTest::newRow("4.0") << 4 << 0 << true << "sheet.pdf" << true;
        QTest::newRow("5.X without history") << 5 << 0 << true << "sheet.pdf" << true;
        QTest::newRow("KVL 36") << 70 << 30 << true << "sheet.pdf" << true;
        QTest::newRow("cancelled") << 5 << 3 << false << "sheet.pdf" << false;
        QTest::newRow("printer cannot start") << 70 << 3 << true << "missing/sheet.pdf" << false;
    }

    void printing()
    {
        QFETCH(int, version);
        QFETCH(int, records);
        QFETCH(bool, answer);
        QFETCH(QString, file);
        QFETCH(bool, printed);
        fillStore(appStore(), version, records);
        frmParametres_v4 *form = openSheet();
        QVERIFY(form);
        const bool selector = records > 0;
        if (selector)
            select(form, 1);
        const QString date = labelText(form, "Label_Date");
        QTemporaryDir dir;
        test::ScriptedDialogs dialogs;
        dialogs.printerAnswers = {answer};
        dialogs.printerPdfPath = dir.filePath(file);
        test::MessageRecorder messages;

        QTest::mouseClick(child<QPushButton>(form, "Cmd_Print"), Qt::LeftButton);
        QCOMPARE(dialogs.printerRequests, 1);
        QFile pdf(dialogs.printerPdfPath);
        QCOMPARE(pdf.open(QIODevice::ReadOnly), printed);
        if (printed) {
            // One page holding the sheet's picture.
            const QByteArray bytes = pdf.readAll();
            QVERIFY(bytes.startsWith("%PDF"));
            QCOMPARE(
                bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") + bytes.count("/Type /Page "), 1);
            // Drawn, not a bitmap: the texts stay sharp at any zoom.
            QVERIFY(bytes.contains("/Font"));
            QVERIFY(!bytes.contains("/Subtype /Image"));
            QCOMPARE(dialogs.printerDocNames, QStringList{"KVL 24/36 Parameters"});
        } else if (answer) {
            QPrinter printer;
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(dialogs.printerPdfPath);
            QVERIFY(!form->printSheet(printer)); // reported, not taken for done
        }
        // The sheet is as it was, whatever happened.
        QCOMPARE(child<QComboBox>(form, "Combo_Jour")->isVisible(), selector);
        QCOMPARE(child<QComboBox>(form, "Combo_Jour")->currentIndex(), selector ? 1 : -1);
        QCOMPARE(labelText(form, "Label_Date"), date);
        QVERIFY(child<QPushButton>(form, "Cmd_Print")->isVisible());
        QVERIFY(child<QPushButton>(form, "Cmd_Exit")->isVisible());
        QVERIFY(isDesignColoured(form));
        QVERIFY(messages.messages.isEmpty());
        // Cancelled before anything was taken: no label was given a colour of its own.
        for (QLabel *label : form->findChildren<QLabel *>())
            QVERIFY(answer || !label->autoFillBackground());
    }

    void opensAfterFileRoundTrip_data()
    {
        QTest::addColumn<int>("version");
        QTest::newRow("4.0") << 4;
        QTest::newRow("5.X") << 5;
        QTest::newRow("KVL 36") << 70;
    }

    void opensAfterFileRoundTrip()
    {
        QFETCH(int, version);
        Store original;
        fillStore(original, version, 30);
        appStore() = Store();
        QCOMPARE(readDataFile(buildDataFile(original, version), appStore()).result, LoadOutcome::Loaded);
        frmParametres_v4 *form = openSheet();
        QVERIFY(form);
        compareLabels(form, loadSheet(original));
        if (version == 4)
            return;
        // A loaded file has the download time without seconds.
        QVERIFY(
            labelText(form, "Label_Date").endsWith(QStringLiteral("Sunday 06 December  2026  at  14 : 05")));
        const int count = child<QComboBox>(form, "Combo_Jour")->count();
        QCOMPARE(count, version == 70 ? 25 : 30);
        const PeriodList periods = buildPeriodList(original);
        select(form, count - 1);
        compareLabels(form, periodSheet(original, periods, count - 1));
        QCOMPARE(labelText(form, "Label_Date"), periodDateCaption(periods, count - 1));
    }

    void opensOnSimulatedDevices_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<int>("weeks");
        QTest::addColumn<QString>("firmware");
        QTest::newRow("5.X") << 5 << 6 << "Version 5.2";
        QTest::newRow("KVL 36") << 70 << 40 << "Version 1.3";
    }

    void opensOnSimulatedDevices()
    {
        QFETCH(int, version);
        QFETCH(int, weeks);
        QFETCH(QString, firmware);
        const kvlsim::DeviceMemory memory = kvlsim::generateDevice(version, 7, weeks);
        Store &store = appStore();
        store = Store();
        store.Device_Version = qint16(version);
        QVERIFY(decodeImage(store, memory.decoderInput(), {}));
        Tri_Historique(store, {});
        store.Transfer_Date = QStringLiteral("06/12/2026");
        store.Transfer_Time = QStringLiteral("14:05:33");
        frmParametres_v4 *form = openSheet();
        QVERIFY(form);
        QCOMPARE(labelText(form, "Label_Version_FirmWare"), firmware);
        auto *combo = child<QComboBox>(form, "Combo_Jour");
        const int records = int(memory.history.size());
        // The "KVL 36" run is long enough for its selector to be trimmed.
        QVERIFY(records > 0 && (version != 70 || records > 25));
        QCOMPARE(combo->count(), version == 70 ? 25 : records);
        // Every entry shows its own record; the newest entry the newest one.
        for (int index = 0; index < combo->count(); ++index) {
            const int age = version == 70 && index > 0 ? records - combo->count() + index : index;
            const kvlsim::HistoryRow &record = memory.history[std::size_t(records - 1 - age)];
            select(form, index);
            QCOMPARE(labelText(form, "Label_Niveau_Leq_Jour"),
                     QString::number(record[history::LeqDay - 1] * 100 + record[history::LeqDay]));
            QCOMPARE(labelText(form, "Label_Fonctionnement_Regul"),
                     regulationText(record[HistoryRegulationField - 1] & RegulationNormalBit));
            QVERIFY(labelText(form, "Label_Date")
                        .startsWith(QStringLiteral("Parameter    ") + combo->itemText(index)));
        }
    }
};

QTEST_MAIN(TestParamWindow)
#include "tst_param_window.moc"
