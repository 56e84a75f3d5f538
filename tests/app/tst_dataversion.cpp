// Loaded data keeps the version it was read or downloaded with, whatever
// version the port selection holds: each way in (file at start, drop, "Saved
// Data", "Last Data used" after a change) draws the diagram a plain load of
// the same file draws, and a save writes the data's own version.

#include "FakeDevice.h"
#include "TestSupport.h"
#include "WindowTest.h"
#include "charts/frmInGraphique.h"
#include "files/DataFile.h"
#include "files/frmData_Type.h"
#include "link/CommPort.h"
#include "link/PortChoice.h"
#include "shell/AppHooks.h"
#include "shell/Forms.h"
#include "shell/frmMain.h"
#include "store/Store.h"

#include <QAction>
#include <QDateEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace kvl;
using namespace kvl::test;

namespace {

QString sample(const QString &name)
{
    return qEnvironmentVariable("KVL_SAMPLES") + QLatin1Char('/') + name;
}

QString versionButton(int version)
{
    static const QMap<int, QString> buttons{
        {Version35, "Option_Version3"}, {Version40, "Option_Version4"}, {VersionKvl36, "Option_KVL36"}};
    return buttons.value(version, QStringLiteral("Option_Version5"));
}

// The port selection (opened from the menu unless open): the version it
// proposes, then `chosen` confirmed on the one port there is.
QString choosePort(int chosen)
{
    QWidget *port = findForm(QStringLiteral("frmPort"));
    if (!port) {
        frmMain::instance()->mnuPort_Click();
        port = findForm(QStringLiteral("frmPort"));
    }
    QString proposed;
    for (QRadioButton *b : port->findChildren<QRadioButton *>(QRegularExpression("^Option_(Version|KVL)")))
        if (b->isChecked())
            proposed = b->objectName();
    QTest::mouseClick(port->findChild<QRadioButton *>(versionButton(chosen)), Qt::LeftButton);
    QTest::mouseClick(port->findChild<QPushButton *>(QStringLiteral("Cmd_Ok")), Qt::LeftButton);
    return proposed;
}

// Leq Diagram from the menu, the data source (a file to search, else the
// option it proposes), then the diagram of 1 October 2026: its window's texts.
QStringList diagram(const QString &file = QString())
{
    frmMain::instance()->mnuGraphique_Click();
    auto *source = qobject_cast<frmData_Type *>(findForm(QStringLiteral("frmData_Type")));
    if (!source)
        return {QStringLiteral("no data source window")};
    ScriptedDialogs dialogs;
    if (!file.isEmpty()) {
        dialogs.openAnswers << file;
        source->Cmd_Search_Click();
    }
    source->Cmd_Ok_Click();
    const bool v5 = isVersion5Family(appStore().Device_Version);
    auto *dialog = qobject_cast<ChartDialog *>(
        findForm(v5 ? QStringLiteral("frmInGraphique_v5") : QStringLiteral("frmInGraphique")));
    if (!dialog)
        return {QStringLiteral("no chart dialog")};
    dialog->findChild<QDateEdit *>(QStringLiteral("DTPicker1"))->setDate(QDate(2026, 10, 1));
    dialog->Cmd_Ok_Click();
    QWidget *chart = findForm(QStringLiteral("frmGraphique_Leq"));
    return chart ? windowTexts(chart) : QStringList{QStringLiteral("no chart window")};
}

} // namespace

class TestDataVersion : public WindowTest
{
    Q_OBJECT
    FakeDevice m_line;

    void start(const QString &file = QString())
    {
        appStore() = Store();
        openMain(false);
        m_main->setStartFile(file);
        m_main->startUp();
    }

private slots:
    void initTestCase()
    {
        registerAllForms();
        m_line.availablePorts = {1};
        setMSComm1(&m_line);
    }
    void init() {}

    void drawnAsItsOwnVersion_data()
    {
        addDataRows(QStringLiteral("charts/samples.txt"), QStringLiteral("own version"));
    }
    void drawnAsItsOwnVersion()
    {
        QFETCH(QStringList, c);
        const QString way = c[1], file = sample(c[2]);
        // The file's version, the one the port selection proposes once it is in, the one chosen there.
        const int version = c[3].toInt(), proposed = c[4].toInt(), chosen = c[5].toInt();
        MessageRecorder messages;

        // The same file loaded with its own version chosen.
        start();
        choosePort(version);
        const QStringList expected = diagram(file);
        const QString expectedMessages = shown(messages);
        QVERIFY2(expected.size() > 10, qPrintable(expected.join("|") + shown(messages)));
        cleanup();
        messages.clear();

        if (way == QLatin1String("start")) {
            start(file);
            QCOMPARE(choosePort(chosen), versionButton(proposed));
        } else {
            start();
            choosePort(way == QLatin1String("last") ? version : chosen);
        }
        QStringList texts;
        if (way == QLatin1String("drop")) {
            QVERIFY(dropFile(m_main, file));
            QVERIFY(appStore().Data_Loaded);
            texts = diagram();
        } else if (way == QLatin1String("saved")) {
            texts = diagram(file);
        } else if (way == QLatin1String("last")) {
            diagram(file);
            messages.clear();
            QCOMPARE(choosePort(chosen), versionButton(proposed));
            texts = diagram();
        } else {
            texts = diagram();
        }
        QCOMPARE(appStore().Device_Version, qint16(version));
        QCOMPARE(texts, expected);
        QCOMPARE(shown(messages), expectedMessages);

        // The next download is of the version chosen; the port selection proposes it.
        QCOMPARE(downloadVersion(appStore()), chosen);
        QCOMPARE(choosePort(chosen), versionButton(chosen));
    }

    // Downloaded 4.0 data saved after 5.X was chosen is a 4.0 file.
    void savedAsDownloaded()
    {
        start();
        choosePort(4);
        Store &s = appStore();
        QFile f(sample(QStringLiteral("sample_v4.kvl")));
        QVERIFY(f.open(QIODevice::ReadOnly) && readDataFile(f.readAll(), s).result == LoadOutcome::Loaded);
        m_main->menuEntry(QStringLiteral("mnuSave_As"))->setEnabled(true);
        QCOMPARE(choosePort(5), versionButton(4));

        QTemporaryDir dir;
        ScriptedDialogs dialogs;
        dialogs.saveAnswers << dir.filePath(QStringLiteral("saved.kvl"));
        MessageRecorder messages;
        m_main->mnuSave_As_Click();
        QVERIFY(messages.messages.isEmpty());
        QVERIFY(dialogs.saveFilters.value(0).startsWith(QLatin1String("KVL 24-2 (")));
        QFile saved(dir.filePath(QStringLiteral("saved.kvl")));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QVERIFY(saved.readAll() == buildDataFile(s, Version40));
    }
};

QTEST_MAIN(TestDataVersion)
#include "tst_dataversion.moc"
