// kvl-report as a user runs it: bad files among good ones, bad options, --help.

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
        QFile whole(sample("sample_v5.kvl"));
        QVERIFY(whole.open(QIODevice::ReadOnly));
        const QString truncated = dir.filePath(QStringLiteral("truncated.kvl"));
        QFile cut(truncated);
        QVERIFY(cut.open(QIODevice::WriteOnly));
        cut.write(whole.read(100000));
        cut.close();
        const QString missing = dir.filePath(QStringLiteral("missing.kvl"));
        const QString folder = dir.filePath(QStringLiteral("folder.kvl"));
        QVERIFY(QDir().mkdir(folder));

        const QStringList good{sample("sample_v5.kvl"), sample("sample_v4.kvl")};
        const Run r = runReport({QStringLiteral("--summary"), QStringLiteral("--format"), format, good[0],
                                 truncated, missing, folder, good[1]});
        QCOMPARE(r.status, 1);
        // Notes on the good files' threshold schedules may come first.
        QStringList errors;
        for (const QString &line : r.errors)
            if (!line.contains(QStringLiteral(": warning: threshold schedule: ")))
                errors << line;
        QCOMPARE(
            errors,
            QStringList(
                {QStringLiteral("kvl-report: ") + truncated +
                     QStringLiteral(": It is impossible to read file data: It is not a KVL 24-2 file !!!!"),
                 QStringLiteral("kvl-report: ") + missing +
                     QStringLiteral(": It is impossible to open this file (No such file or directory)"),
                 QStringLiteral("kvl-report: ") + folder +
                     QStringLiteral(": It is impossible to open this file (is a directory)")}));
        QStringList reported;
        if (format == QLatin1String("json")) {
            for (const QJsonValue &v : QJsonDocument::fromJson(r.out).array())
                reported << v.toObject().value(QStringLiteral("file")).toString();
        } else {
            const QStringList lines =
                QString::fromUtf8(r.out).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
            QVERIFY(lines.value(0).startsWith(QStringLiteral("file,scope,")));
            for (const QString &line : lines.mid(1))
                if (line.contains(QStringLiteral(",file,")))
                    reported << line.section(QLatin1Char(','), 0, 0);
        }
        QCOMPARE(reported, good);
    }

    void badOptions_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("error");
        const QString f = sample("sample_v5.kvl");
        QTest::newRow("no kind") << QStringList{f} << "choose one of --leq, --events, --params, --summary";
        QTest::newRow("two kinds") << QStringList{"--leq", "--events", f}
                                   << "choose one of --leq, --events, --params, --summary";
        QTest::newRow("format") << QStringList{"--leq", "--format", "xml", f} << "unknown format \"xml\"";
        QTest::newRow("date") << QStringList{"--leq", "--from", "10/09/2026", f}
                              << "--from: \"10/09/2026\" is no date";
        QTest::newRow("no file") << QStringList{"--leq"} << "no file given";
    }
    void badOptions()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, error);
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
        const QString help = QString::fromUtf8(r.out);
        for (const char *option :
             {"--from", "--to", "--leq", "--events", "--params", "--summary", "--format"})
            QVERIFY2(help.contains(QLatin1String(option)), option);
        QVERIFY(help.contains(QStringLiteral("nearest rank")));
    }
};

QTEST_GUILESS_MAIN(ReportTest)
#include "tst_report.moc"
