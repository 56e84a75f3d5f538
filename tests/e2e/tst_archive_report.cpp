// kvl-report with a device archive: importing from the command line, and
// reports from the archive read in stretches that give the same rows as one
// file holding every record.

#include "SampleFile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Run
{
    int status = -1;
    QByteArray out;
    QString errors;
};

Run runReport(const QStringList &args)
{
    QProcess p;
    p.start(qEnvironmentVariable("KVL_BIN_DIR") + QStringLiteral("/kvl-report"), args);
    Run r;
    if (!p.waitForFinished(120000))
        return r;
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.errors = QString::fromUtf8(p.readAllStandardError());
    return r;
}

// The rows without the file's name: the first CSV column, or the JSON "file" text.
QByteArray withoutFileColumn(const QByteArray &out)
{
    if (out.startsWith('['))
        return QString::fromUtf8(out)
            .replace(QRegularExpression(QStringLiteral("\"file\": \"[^\"]*\"")),
                     QStringLiteral("\"file\": \"\""))
            .toUtf8();
    QByteArray rows;
    for (const QByteArray &line : out.split('\n'))
        rows += line.mid(line.indexOf(',') + 1) + '\n';
    return rows;
}

} // namespace

class ArchiveReportTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        // Six weeks of one device downloaded every week: the last download
        // still holds everything, the archive holds the same records.
        for (const kvlsim::HistoryFile &f : kvlsim::historyDataFiles(5, 91, 6, 1)) {
            QFile out(m_dir.filePath(f.name));
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write(f.bytes);
            m_files << out.fileName();
        }
        m_archive = m_dir.filePath(QStringLiteral("venue.sqlite"));
    }

    void importInto()
    {
        const QString bad = m_dir.filePath(QStringLiteral("bad.kvl"));
        QFile f(bad);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("not a data file");
        f.close();
        QStringList args{QStringLiteral("--import-into"), m_archive};
        args << m_files.mid(0, 3) << bad << m_files.mid(3);
        const Run r = runReport(args);
        // One failed: status 1, the others still imported.
        QCOMPARE(r.status, 1);
        QVERIFY2(
            r.errors.contains(QStringLiteral("bad.kvl: It is impossible to open this file: It is not a KVL "
                                             "24-2/36 file !!!!")),
            qPrintable(r.errors));
        QCOMPARE(r.out.count("new records"), m_files.size());
        // Again: nothing new, status 0.
        const Run again = runReport(QStringList{QStringLiteral("--import-into"), m_archive} + m_files);
        QCOMPARE(again.status, 0);
        QCOMPARE(again.out.count("already in the archive"), m_files.size());
    }

    void sameRowsAsOneFile_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::newRow("leq") << QStringList{"--leq"};
        QTest::newRow("events") << QStringList{"--events"};
        QTest::newRow("params") << QStringList{"--params"};
        QTest::newRow("summary") << QStringList{"--summary"};
        QTest::newRow("leq, two weeks") << QStringList{"--leq", "--from", "2026-10-20", "--to", "2026-11-03"};
        QTest::newRow("summary, two weeks")
            << QStringList{"--summary", "--from", "2026-10-20", "--to", "2026-11-03"};
        QTest::newRow("summary, JSON") << QStringList{"--summary", "--format", "json"};
        QTest::newRow("leq, JSON, one day")
            << QStringList{"--leq", "--format", "json", "--from", "2026-10-27", "--to", "2026-10-27"};
        QTest::newRow("events, JSON") << QStringList{"--events", "--format", "json"};
    }

    void sameRowsAsOneFile()
    {
        QFETCH(QStringList, options);
        const Run file = runReport(options + QStringList{m_files.last()});
        const Run archive = runReport(options + QStringList{QStringLiteral("--archive"), m_archive});
        QCOMPARE(file.status, 0);
        QCOMPARE(archive.status, 0);
        QVERIFY(file.out.count('\n') > 2);
        QCOMPARE(withoutFileColumn(archive.out), withoutFileColumn(file.out));
        // The same warnings too (the threshold schedule's gaps, empty periods).
        auto warnings = [](const QString &errors) {
            QStringList out;
            for (const QString &line : errors.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
                out << line.mid(line.indexOf(QStringLiteral(": warning: ")));
            return out;
        };
        QCOMPARE(warnings(archive.errors), warnings(file.errors));
    }

    // Bad options give 2 before anything is read or written; an archive or
    // file that cannot be used gives 1.
    void exitStatus_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("error");
        const QString archive = m_dir.filePath(QStringLiteral("status.sqlite"));
        QTest::newRow("device without archive")
            << QStringList{"--leq", "--device", "1"} << 2 << "--device chooses a device of --archive";
        QTest::newRow("archive and data files")
            << QStringList{"--leq", "--archive", archive, m_files.first()} << 2 << "not from data files";
        QTest::newRow("archive without a mode") << QStringList{"--archive", archive} << 2 << "choose one of";
        QTest::newRow("archive as a PDF")
            << QStringList{"--pdf", m_dir.filePath(QStringLiteral("a.pdf")), "--archive", archive} << 2
            << "--pdf reports on a data file";
        QTest::newRow("archive, from after to")
            << QStringList{"--leq", "--archive", archive, "--from", "2026-11-02", "--to", "2026-11-01"} << 2
            << "is after --to";
        QTest::newRow("import without files")
            << QStringList{"--import-into", archive} << 2 << "no file to import";
        QTest::newRow("data file as the archive")
            << QStringList{"--events", "--archive", m_files.first()} << 1 << "not a device archive";
        QTest::newRow("import into a data file")
            << QStringList{"--import-into", m_files.first(), m_files.last()} << 1 << "not a device archive";
        QTest::newRow("import into a folder")
            << QStringList{"--import-into", m_dir.path(), m_files.last()} << 1 << "cannot be opened";
        QTest::newRow("import a folder") << QStringList{"--import-into", archive, m_dir.path()} << 1
                                         << "It is impossible to open this file";
    }

    void exitStatus()
    {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, error);
        const QByteArray before = fileBytes(m_files.first());
        const Run r = runReport(args);
        QCOMPARE(r.status, status);
        QVERIFY2(r.errors.contains(error), qPrintable(r.errors));
        if (status == 2)
            QVERIFY(r.out.isEmpty());
        // A data file given as the archive is left as it was.
        QCOMPARE(fileBytes(m_files.first()), before);
    }

    void deviceChoice()
    {
        const Run none = runReport({QStringLiteral("--events"), QStringLiteral("--archive"), m_archive,
                                    QStringLiteral("--device"), QStringLiteral("0")});
        QCOMPARE(none.status, 1);
        QVERIFY(none.errors.contains(QStringLiteral("no device of serial number 0")));
        const Run missing = runReport({QStringLiteral("--events"), QStringLiteral("--archive"),
                                       m_dir.filePath(QStringLiteral("none.sqlite"))});
        QCOMPARE(missing.status, 1);
        QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("none.sqlite"))));
    }

private:
    static QByteArray fileBytes(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir m_dir;
    QStringList m_files;
    QString m_archive;
};

QTEST_GUILESS_MAIN(ArchiveReportTest)
#include "tst_archive_report.moc"
