// The parameter sheet window, offscreen: its texts, selector and printing.

#include "TableStores.h"
#include "TestSupport.h"
#include "params/ParamSheet.h"
#include "params/frmParametres_v4.h"
#include "shell/AppHooks.h"
#include "shell/Forms.h"
#include "store/Store.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace kvl;

namespace {

const QColor Design(197, 207, 237);

// A store of a version with `records` dated parameter records, one a day
// from 1 January 2026, day level 80 + record number.
void fillStore(Store &s, int version, int records)
{
    s = Store();
    test::setParamRecords(s, version, test::januaryRecords(records, 80));
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
}

template <typename T> T *child(QWidget *form, const char *name)
{
    return form->findChild<T *>(QString::fromLatin1(name));
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

    void opensAndQuits_data()
    {
        test::addDataRows(QStringLiteral("rows/param_window.txt"), QStringLiteral("open"));
    }

    void opensAndQuits()
    {
        QFETCH(QStringList, c);
        const int version = c[1].toInt(), records = c[2].toInt(), headerTop = c[3].toInt(),
                  entries = c[4].toInt();
        fillStore(appStore(), version, records);
        QPointer<frmParametres_v4> form = openSheet();
        QVERIFY(form);
        QVERIFY(openFlags().Open_frmParametres_v4);
        // The texts, and which controls are hidden.
        KVL_COMPARE_REF("windows/param_window.txt", QTest::currentDataTag(), test::windowTexts(form));
        QVERIFY(isDesignColoured(form));
        QCOMPARE(child<QLabel>(form, "Label_Entete")->geometry().top(), headerTop);
        QCOMPARE(child<QComboBox>(form, "Combo_Jour")->count(), entries);
        // It fits the views' area of a maximised 800 x 600 main window.
        QVERIFY(form->minimumSizeHint().width() <= 780 && form->minimumSizeHint().height() <= 500);
        QCOMPARE(form->filterCardPresent(), true);

        QTest::mouseClick(child<QPushButton>(form, "Cmd_Exit"), Qt::LeftButton);
        QVERIFY(!openFlags().Open_frmParametres_v4);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(form.isNull());
    }

    void threeRecords()
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
        auto *combo = child<QComboBox>(form, "Combo_Jour");

        // Printed white, without the buttons and the selector.
        QImage page(form->size(), QImage::Format_RGB32);
        page.fill(Qt::black);
        QVERIFY(form->printSheet(page));
        // Every pixel where they stand: a short text leaves the middle of a box white.
        for (const QRect r :
             {QRect(1, 1, 1, 1), child<QPushButton>(form, "Cmd_Print")->geometry(), combo->geometry()}) {
            int inked = 0;
            for (int y = r.top(); y <= r.bottom(); ++y)
                for (int x = r.left(); x <= r.right(); ++x)
                    inked += page.pixelColor(x, y) != QColor(Qt::white);
            QCOMPARE(inked, 0);
        }
    }

    void printing_data()
    {
        test::addDataRows(QStringLiteral("rows/param_window.txt"), QStringLiteral("print"));
    }

    void printing()
    {
        QFETCH(QStringList, c);
        const int version = c[1].toInt(), records = c[2].toInt();
        const bool answer = c[3] == QLatin1String("true"), printed = c[4] == QLatin1String("true");
        fillStore(appStore(), version, records);
        frmParametres_v4 *form = openSheet();
        QVERIFY(form);
        if (records > 0)
            select(form, 1);
        const QStringList before = test::windowTexts(form);
        QTemporaryDir dir;
        test::ScriptedDialogs dialogs;
        dialogs.printerAnswers = {answer};
        // A file that cannot be written: its folder is missing.
        dialogs.printerPdfPath = dir.filePath(answer && !printed ? "missing/sheet.pdf" : "sheet.pdf");
        test::MessageRecorder messages;

        QTest::mouseClick(child<QPushButton>(form, "Cmd_Print"), Qt::LeftButton);
        QCOMPARE(dialogs.printerRequests, 1);
        QFile pdf(dialogs.printerPdfPath);
        QCOMPARE(pdf.open(QIODevice::ReadOnly), printed);
        if (printed) {
            QVERIFY(pdf.readAll().startsWith("%PDF"));
            QCOMPARE(dialogs.printerDocNames, QStringList{"KVL 24/36 Parameters"});
        } else if (answer) {
            QImage none;
            QVERIFY(!form->printSheet(none)); // reported, not taken for done
        }
        // The sheet is as it was, whatever happened.
        QCOMPARE(test::windowTexts(form), before);
        QCOMPARE(child<QComboBox>(form, "Combo_Jour")->currentIndex(), records > 0 ? 1 : -1);
        QVERIFY(isDesignColoured(form));
        // That file is named in a message (its text: tst_fileoutput).
        QCOMPARE(messages.messages.size(), answer && !printed ? 1 : 0);
    }
};

QTEST_MAIN(TestParamWindow)
#include "tst_param_window.moc"
