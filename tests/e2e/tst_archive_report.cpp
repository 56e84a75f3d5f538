// kvl-report with a device archive: importing from the command line, and
// reports from the archive read in stretches that give the same rows as one
// file holding every record.

#include "SampleFile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
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

// The rows without their first column (the file's name).
QByteArray withoutFileColumn(const QByteArray &csv)
{
    QByteArray out;
    for (const QByteArray &line : csv.split('\n'))
        out += line.mid(line.indexOf(',') + 1) + '\n';
    return out;
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
    QTemporaryDir m_dir;
    QStringList m_files;
    QString m_archive;
};

QTEST_GUILESS_MAIN(ArchiveReportTest)
#include "tst_archive_report.moc"
