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
#include <QDir>
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
    b[160] = 172;
    b[161] = 76;
    b[6] = 16 + 8;
    b[7] = 1 + 12;
    b[2176] = 1;
    b[2177] = 2;
    b[2184] = 0;
    b[2185] = 70;
    b[2191] = 22;
    b[2193] = 7;
    b[2370] = 3;
    b[2371] = 0;
    for (int i = 2360; i <= 2367; ++i)
        b[i] = qint16(i - 2359);
    for (int r = 1; r <= records; ++r) {
        for (int f = 7; f <= 48; ++f)
            s.Param_History(r, f) = 0;
        s.Param_History(r, 1) = 0;
        s.Param_History(r, 2) = 12;
        s.Param_History(r, 3) = qint16(r);
        s.Param_History(r, 5) = 1;
        s.Param_History(r, 6) = 26;
        s.Param_History(r, 30) = qint16(80 + r);
    }
}

template <typename T> T *child(QWidget *form, const char *name)
{
    T *widget = form->findChild<T *>(QString::fromLatin1(name));
    if (!widget)
        qWarning("no control %s", name);
    return widget;
}

QString labelText(QWidget *form, const char *name)
{
    QLabel *label = child<QLabel>(form, name);
    return label ? label->text() : QStringLiteral("<missing>");
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

} // namespace

class TestParamWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void opensForEachVersion_data();
    void opensForEachVersion();
    void showsTheCoreTexts();
    void noValidHistory();
    void selectingEntries();
    void typingReverts();
    void quitClosesTheSheet();
    void fitsOnA800x600Screen();
    void printImageIsWhiteWithoutButtons();
    void printing_data();
    void printing();
    void printCancelled();
    void printFailureRestoresTheSheet();
    void opensAfterFileRoundTrip_data();
    void opensAfterFileRoundTrip();
    void opensOnSimulatedDevices_data();
    void opensOnSimulatedDevices();
    void opensEverySample();

private:
    frmParametres_v4 *open();
};

void TestParamWindow::initTestCase()
{
    registerParamsForms();
}

void TestParamWindow::cleanup()
{
    Fermer_Fenetres();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

frmParametres_v4 *TestParamWindow::open()
{
    return qobject_cast<frmParametres_v4 *>(openForm(QStringLiteral("frmParametres_v4")));
}

void TestParamWindow::opensForEachVersion_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<bool>("selector");
    QTest::addColumn<int>("headerTop");
    QTest::addColumn<QString>("firmware");
    QTest::addColumn<QString>("band63Caption");
    QTest::newRow("3.5") << 3 << false << 8 << "Version 3.5"
                         << " 63 Hz Band Attenuation ";
    QTest::newRow("4.0") << 4 << false << 8 << "Version 4.0"
                         << " 63 Hz Band Attenuation ";
    QTest::newRow("5.X") << 5 << true << 2 << "Version 5.2"
                         << " 63 Hz Band Attenuation ";
    QTest::newRow("KVL 36") << 70 << true << 2 << "Version 5.2"
                            << "63 Hz Band level";
}

void TestParamWindow::opensForEachVersion()
{
    QFETCH(int, version);
    QFETCH(bool, selector);
    QFETCH(int, headerTop);
    QFETCH(QString, firmware);
    QFETCH(QString, band63Caption);
    fillStore(appStore(), version, 3);
    frmParametres_v4 *form = open();
    QVERIFY(form);
    QVERIFY(openFlags().Open_frmParametres_v4);
    QCOMPARE(form->windowTitle(), QStringLiteral("KVL 24/36 Parameters"));
    QVERIFY(isDesignColoured(form));
    QCOMPARE(labelText(form, "Label_Entete"), QStringLiteral("KVL 24/36 Parameter Chart :"));
    QCOMPARE(child<QLabel>(form, "Label_Entete")->geometry().top(), headerTop);
    QCOMPARE(child<QComboBox>(form, "Combo_Jour")->isVisible(), selector);
    QCOMPARE(child<QLabel>(form, "Label_Date")->isVisible(), selector);
    QCOMPARE(child<QComboBox>(form, "Combo_Jour")->count(), selector ? 3 : 0);
    QCOMPARE(child<QLabel>(form, "Label19")->isVisible(), version == 70);
    QCOMPARE(labelText(form, "Label_Version_FirmWare"), firmware);
    QCOMPARE(labelText(form, "Label_Numero_Serie"), QStringLiteral("12345678"));
    QCOMPARE(labelText(form, "Label11"), band63Caption);
    QCOMPARE(labelText(form, "Label_Niveau_Leq_Jour"), QStringLiteral("102"));
    QCOMPARE(labelText(form, "Label_Niveau_Regul_Ligne"), QStringLiteral("63"));
    QCOMPARE(labelText(form, "Label_Heure_Nuit_Jour"), QStringLiteral("07"));
    QCOMPARE(labelText(form, "Label_Source"), QStringLiteral("Source : Line, A Weighted."));
    for (const char *name : {"Cmd_Print", "Cmd_Exit"}) {
        auto *button = child<QPushButton>(form, name);
        QVERIFY(button && button->isVisible());
        QVERIFY2(!button->icon().isNull(), name);
    }
    QCOMPARE(child<QPushButton>(form, "Cmd_Print")->text(), QStringLiteral("Print"));
    QCOMPARE(child<QPushButton>(form, "Cmd_Exit")->text(), QStringLiteral("Quit"));
}

void TestParamWindow::showsTheCoreTexts()
{
    fillStore(appStore(), 70, 2);
    Store copy = appStore();
    const SheetTexts expected = loadSheet(copy);
    frmParametres_v4 *form = open();
    QVERIFY(form);
    for (const auto &[name, text] : expected.labels())
        QCOMPARE(labelText(form, name.toLatin1().constData()), text);
    QCOMPARE(form->filterCardPresent(), true);
}

void TestParamWindow::noValidHistory()
{
    fillStore(appStore(), 5, 0);
    frmParametres_v4 *form = open();
    QVERIFY(form);
    QVERIFY(!child<QComboBox>(form, "Combo_Jour")->isVisible());
    QVERIFY(child<QLabel>(form, "Label_Date")->isVisible());
    QCOMPARE(labelText(form, "Label_Date"),
             QStringLiteral("Parameter    to  Sunday 06 December  2026  at  14 : 05"));
    QCOMPARE(form->currentPeriodText(), QString());
}

void TestParamWindow::selectingEntries()
{
    fillStore(appStore(), 5, 3);
    frmParametres_v4 *form = open();
    QVERIFY(form);
    auto *combo = child<QComboBox>(form, "Combo_Jour");
    QCOMPARE(combo->currentText(), QStringLiteral("Saturday 03  January  2026  at  12 : 00"));
    QCOMPARE(labelText(form, "Label_Date"),
             QStringLiteral("Parameter  Saturday 03  January  2026  at  12 : 00  to  "
                            "Sunday 06 December  2026  at  14 : 05"));
    // The loaded sheet shows the current parameters, not a record.
    QCOMPARE(labelText(form, "Label_Niveau_Leq_Jour"), QStringLiteral("102"));

    combo->setCurrentIndex(2);
    emit combo->activated(2);
    QCOMPARE(labelText(form, "Label_Date"),
             QStringLiteral("Parameter    Thursday 01  January  2026  at  12 : 00"
                            "  to  Friday 02  January  2026  at  12 : 00"));
    QCOMPARE(labelText(form, "Label_Niveau_Leq_Jour"), QStringLiteral("81"));
    QCOMPARE(labelText(form, "Label_Fonctionnement_Regul"), QStringLiteral("Regulation Mode = Advanced."));
    QCOMPARE(labelText(form, "Label_Version_FirmWare"), QStringLiteral("Version 5.2"));

    combo->setCurrentIndex(0);
    emit combo->activated(0);
    QCOMPARE(labelText(form, "Label_Date"),
             QStringLiteral("Parameter    Saturday 03  January  2026  at  12 : 00"
                            "  to  Sunday 06 December  2026  at  14 : 05"));
    QCOMPARE(labelText(form, "Label_Niveau_Leq_Jour"), QStringLiteral("83"));
}

void TestParamWindow::typingReverts()
{
    fillStore(appStore(), 5, 3);
    frmParametres_v4 *form = open();
    QVERIFY(form);
    auto *combo = child<QComboBox>(form, "Combo_Jour");
    combo->setCurrentIndex(1);
    emit combo->activated(1);
    QTest::keyClicks(combo->lineEdit(), QStringLiteral("xy"));
    QCOMPARE(combo->currentText(), form->currentPeriodText());
    QTest::keyClick(combo->lineEdit(), Qt::Key_Backspace);
    QCOMPARE(combo->currentText(), form->currentPeriodText());
    QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
    QCOMPARE(combo->count(), 3);
}

void TestParamWindow::quitClosesTheSheet()
{
    fillStore(appStore(), 4, 0);
    QPointer<frmParametres_v4> form = open();
    QVERIFY(form);
    QTest::mouseClick(child<QPushButton>(form, "Cmd_Exit"), Qt::LeftButton);
    QVERIFY(!openFlags().Open_frmParametres_v4);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(form.isNull());
    QVERIFY(!findForm(QStringLiteral("frmParametres_v4")));
}

void TestParamWindow::fitsOnA800x600Screen()
{
    // The views' area of a maximised 800 x 600 main window.
    for (int version : {3, 5, 70}) {
        fillStore(appStore(), version, 30);
        frmParametres_v4 *form = open();
        QVERIFY(form);
        const QSize needed = form->minimumSizeHint();
        QVERIFY2(needed.width() <= 780 && needed.height() <= 500,
                 qPrintable(QStringLiteral("%1 x %2").arg(needed.width()).arg(needed.height())));
        cleanup();
    }
}

void TestParamWindow::printImageIsWhiteWithoutButtons()
{
    fillStore(appStore(), 5, 3);
    frmParametres_v4 *form = open();
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

void TestParamWindow::printing_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<int>("records");
    QTest::addColumn<bool>("selectorAfter");
    QTest::newRow("3.5") << 3 << 0 << false;
    QTest::newRow("4.0") << 4 << 0 << false;
    QTest::newRow("5.X") << 5 << 3 << true;
    QTest::newRow("5.X without history") << 5 << 0 << false;
    QTest::newRow("KVL 36") << 70 << 30 << true;
}

void TestParamWindow::printing()
{
    QFETCH(int, version);
    QFETCH(int, records);
    QFETCH(bool, selectorAfter);
    fillStore(appStore(), version, records);
    frmParametres_v4 *form = open();
    QVERIFY(form);
    QTemporaryDir dir;
    test::ScriptedDialogs dialogs;
    dialogs.printerAnswers = {true};
    dialogs.printerPdfPath = dir.filePath(QStringLiteral("sheet.pdf"));
    test::MessageRecorder messages;

    QTest::mouseClick(child<QPushButton>(form, "Cmd_Print"), Qt::LeftButton);
    QCOMPARE(dialogs.printerRequests, 1);
    QFile pdf(dialogs.printerPdfPath);
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    QVERIFY(bytes.startsWith("%PDF"));
    QCOMPARE(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") + bytes.count("/Type /Page "), 1);
    QVERIFY(bytes.contains("/Image"));
    QCOMPARE(child<QComboBox>(form, "Combo_Jour")->isVisible(), selectorAfter);
    QVERIFY(child<QPushButton>(form, "Cmd_Print")->isVisible());
    QVERIFY(child<QPushButton>(form, "Cmd_Exit")->isVisible());
    QVERIFY(isDesignColoured(form));
    QVERIFY(messages.messages.isEmpty());
}

void TestParamWindow::printCancelled()
{
    fillStore(appStore(), 5, 3);
    frmParametres_v4 *form = open();
    QVERIFY(form);
    auto *combo = child<QComboBox>(form, "Combo_Jour");
    combo->setCurrentIndex(1);
    emit combo->activated(1);
    const QString date = labelText(form, "Label_Date");
    QTemporaryDir dir;
    test::ScriptedDialogs dialogs;
    dialogs.printerAnswers = {false};
    dialogs.printerPdfPath = dir.filePath(QStringLiteral("sheet.pdf"));

    QTest::mouseClick(child<QPushButton>(form, "Cmd_Print"), Qt::LeftButton);
    QCOMPARE(dialogs.printerRequests, 1);
    QVERIFY(!QFile::exists(dialogs.printerPdfPath));
    QVERIFY(combo->isVisible());
    QCOMPARE(combo->currentIndex(), 1);
    QCOMPARE(labelText(form, "Label_Date"), date);
    QVERIFY(child<QPushButton>(form, "Cmd_Print")->isVisible());
    QVERIFY(isDesignColoured(form));
    // No label was given a colour of its own.
    for (QLabel *label : form->findChildren<QLabel *>())
        QVERIFY(!label->autoFillBackground());
}

void TestParamWindow::printFailureRestoresTheSheet()
{
    fillStore(appStore(), 70, 3);
    frmParametres_v4 *form = open();
    QVERIFY(form);
    QTemporaryDir dir;
    test::ScriptedDialogs dialogs;
    dialogs.printerAnswers = {true};
    // A folder that does not exist: the printer cannot start.
    dialogs.printerPdfPath = dir.filePath(QStringLiteral("missing/sheet.pdf"));
    test::MessageRecorder messages;

    QTest::mouseClick(child<QPushButton>(form, "Cmd_Print"), Qt::LeftButton);
    QVERIFY(!QFile::exists(dialogs.printerPdfPath));
    QVERIFY(child<QComboBox>(form, "Combo_Jour")->isVisible());
    QVERIFY(child<QPushButton>(form, "Cmd_Print")->isVisible());
    QVERIFY(child<QPushButton>(form, "Cmd_Exit")->isVisible());
    QVERIFY(isDesignColoured(form));
    QVERIFY(messages.messages.isEmpty());

    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dialogs.printerPdfPath);
    QVERIFY(!form->printSheet(printer));
}

void TestParamWindow::opensAfterFileRoundTrip_data()
{
    QTest::addColumn<int>("version");
    QTest::newRow("4.0") << 4;
    QTest::newRow("5.X") << 5;
    QTest::newRow("KVL 36") << 70;
}

void TestParamWindow::opensAfterFileRoundTrip()
{
    QFETCH(int, version);
    Store original;
    fillStore(original, version, 30);
    const QByteArray file = buildDataFile(original, version);
    appStore() = Store();
    QCOMPARE(readDataFile(file, appStore()).result, LoadOutcome::Loaded);
    const SheetTexts expected = loadSheet(original);
    frmParametres_v4 *form = open();
    QVERIFY(form);
    for (const auto &[name, text] : expected.labels())
        QCOMPARE(labelText(form, name.toLatin1().constData()), text);
    if (version == 4)
        return;
    // A loaded file has the download time without seconds.
    QVERIFY(labelText(form, "Label_Date").endsWith(QStringLiteral("Sunday 06 December  2026  at  14 : 05")));
    auto *combo = child<QComboBox>(form, "Combo_Jour");
    QCOMPARE(combo->count(), version == 70 ? 25 : 30);
    const PeriodList periods = buildPeriodList(original);
    const int last = combo->count() - 1;
    combo->setCurrentIndex(last);
    emit combo->activated(last);
    for (const auto &[name, text] : periodSheet(original, periods, last).labels())
        QCOMPARE(labelText(form, name.toLatin1().constData()), text);
    QCOMPARE(labelText(form, "Label_Date"), periodDateCaption(periods, last));
}

void TestParamWindow::opensOnSimulatedDevices_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<int>("weeks");
    QTest::addColumn<QString>("firmware");
    QTest::newRow("3.5") << 3 << 2 << "Version 3.5";
    QTest::newRow("4.0") << 4 << 2 << "Version 4.0";
    QTest::newRow("5.X") << 5 << 6 << "Version 5.2";
    QTest::newRow("KVL 36") << 70 << 40 << "Version 1.3";
}

void TestParamWindow::opensOnSimulatedDevices()
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
    frmParametres_v4 *form = open();
    QVERIFY(form);
    QCOMPARE(labelText(form, "Label_Version_FirmWare"), firmware);
    auto *combo = child<QComboBox>(form, "Combo_Jour");
    if (version < 5) {
        QVERIFY(!combo->isVisible());
        return;
    }
    const int records = int(memory.history.size());
    QVERIFY(records > 0);
    // The "KVL 36" run is long enough for its selector to be trimmed.
    QVERIFY(version != 70 || records > 25);
    QCOMPARE(combo->count(), version == 70 ? qMin(records, 25) : records);
    // Every entry shows its own record; the newest entry the newest one.
    for (int index = 0; index < combo->count(); ++index) {
        const int age = version == 70 && index > 0 ? records - combo->count() + index : index;
        const kvlsim::HistoryRow &record = memory.history[std::size_t(records - 1 - age)];
        combo->setCurrentIndex(index);
        emit combo->activated(index);
        QCOMPARE(labelText(form, "Label_Niveau_Leq_Jour"), QString::number(record[28] * 100 + record[29]));
        QCOMPARE(labelText(form, "Label_Fonctionnement_Regul"),
                 regulationText(record[HistoryRegulationField - 1] & RegulationNormalBit));
        QVERIFY(labelText(form, "Label_Date")
                    .startsWith(QStringLiteral("Parameter    ") + combo->itemText(index)));
    }
}

void TestParamWindow::opensEverySample()
{
    const QDir samples(qEnvironmentVariable("KVL_SAMPLES"));
    const QStringList files = samples.entryList({QStringLiteral("*.kvl")}, QDir::Files, QDir::Name);
    if (files.isEmpty())
        QSKIP("no sample data files yet");
    for (const QString &name : files) {
        QFile file(samples.filePath(name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        appStore() = Store();
        const LoadOutcome outcome = readDataFile(file.readAll(), appStore());
        QVERIFY2(outcome.result == LoadOutcome::Loaded, qPrintable(name));
        Store copy = appStore();
        const SheetTexts expected = loadSheet(copy);
        frmParametres_v4 *form = open();
        QVERIFY(form);
        for (const auto &[label, text] : expected.labels())
            QCOMPARE(labelText(form, label.toLatin1().constData()), text);
        QVERIFY2(labelText(form, "Label_Version_FirmWare").startsWith(QStringLiteral("Version ")),
                 qPrintable(name));
        QVERIFY2(!labelText(form, "Label_Niveau_Leq_Jour").isEmpty(), qPrintable(name));
        auto *combo = child<QComboBox>(form, "Combo_Jour");
        if (appStore().isVersion5Family() && combo->count() > 1) {
            combo->setCurrentIndex(combo->count() - 1);
            emit combo->activated(combo->count() - 1);
            QVERIFY2(labelText(form, "Label_Date").startsWith(QStringLiteral("Parameter    ")),
                     qPrintable(name));
        }
        cleanup();
    }
}

QTEST_MAIN(TestParamWindow)
#include "tst_param_window.moc"
