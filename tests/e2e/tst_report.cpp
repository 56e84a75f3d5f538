// kvl-report as a user runs it: bad files among good ones, bad options, --help.

#include "../core/TableStores.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Run
{
    int status = -1;
    QByteArray out;
    QStringList errors; // lines of standard error
};

Run runReport(const QStringList &args)
{
    QProcess p;
    p.start(qEnvironmentVariable("KVL_BIN_DIR") + QStringLiteral("/kvl-report"), args);
    Run r;
    if (!p.waitForFinished(60000))
        return r;
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.errors = QString::fromUtf8(p.readAllStandardError()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return r;
}

QString sample(const char *name)
{
    return qEnvironmentVariable("KVL_SAMPLES") + QLatin1Char('/') + QLatin1String(name);
}

} // namespace

class ReportTest : public QObject
{
    Q_OBJECT

private slots:
    // A truncated file, a missing file and a directory between two good files:
    // the good ones are reported, each bad one named on standard error with
    // the loader's message, and the exit status is 1.
    void badFilesAmongGood_data()
    {
        QTest::addColumn<QString>("format");
        QTest::newRow("csv") << "csv";
        QTest::newRow("json") << "json";
    }
    void badFilesAmongGood()
    {
        QFETCH(QString, format);
        QTemporaryDir dir;
        const QString truncated = dir.filePath(QStringLiteral("truncated.kvl"));
        QVERIFY(QFile::copy(sample("sample_v5.kvl"), truncated) && QFile::resize(truncated, 100000));
        const QString missing = dir.filePath(QStringLiteral("missing.kvl"));
        const QString folder = dir.filePath(QStringLiteral("folder.kvl"));
        QVERIFY(QDir().mkdir(folder));

        const QStringList good{sample("sample_v5.kvl"), sample("sample_v4.kvl")};
        const Run r =
            runReport({"--summary", "--format", format, good[0], truncated, missing, folder, good[1]});
        QCOMPARE(r.status, 1);
        // Notes on the good files' threshold schedules may come first.
        const QStringList errors =
            r.errors.filter(QRegularExpression(QStringLiteral("^(?!.*: warning: threshold schedule: )")));
        const QString bad = QStringLiteral("kvl-report: %1: It is impossible to ");
        QCOMPARE(errors, QStringList({bad.arg(truncated) + "read file data: It is not a KVL 24-2 file !!!!",
                                      bad.arg(missing) + "open this file (No such file or directory)",
                                      bad.arg(folder) + "open this file (is a directory)"}));
        // The good files' own rows, in order: JSON objects, or CSV rows of scope "file".
        QStringList reported;
        for (const QJsonValue &v : QJsonDocument::fromJson(r.out).array())
            reported << v.toObject().value(QStringLiteral("file")).toString();
        static const QRegularExpression csvRow(QStringLiteral("(?:^|\r\n)([^,\r\n]*),file,"));
        for (auto it = csvRow.globalMatch(QString::fromUtf8(r.out)); it.hasNext();)
            reported << it.next().captured(1);
        QCOMPARE(reported, good);
    }

    void badOptions_data() { kvl::test::addDataRows(QStringLiteral("export/badoptions.txt")); }
    void badOptions()
    {
        QFETCH(QStringList, c);
        const QString error = c[2];
        QStringList args = c[1].split(' ');
        args.replaceInStrings(QStringLiteral("sample.kvl"), sample("sample_v5.kvl"));
        const Run r = runReport(args);
        QCOMPARE(r.status, 2);
        QVERIFY2(r.errors.value(0).startsWith(QStringLiteral("kvl-report: ") + error),
                 qPrintable(r.errors.value(0)));
        QVERIFY(r.out.isEmpty());
    }

    void helpExplainsEveryOption()
    {
        const Run r = runReport({QStringLiteral("--help")});
        QCOMPARE(r.status, 0);
        for (const char *text :
             {"--from", "--to", "--leq", "--events", "--params", "--summary", "--format", "nearest rank"})
            QVERIFY2(r.out.contains(text), text);
    }
};

QTEST_GUILESS_MAIN(ReportTest)
#include "tst_report.moc"
