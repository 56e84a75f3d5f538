// "cmake --install": the program with its Images beside it, reached from
// bin, a desktop entry and the ".kvl" file type, as a desktop expects them.

#include "TestSupport.h"

#include <QtTest>

class TestInstall : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_prefix;

private slots:
    void initTestCase()
    {
        QVERIFY(m_prefix.isValid());
        QProcess install;
        install.setProcessChannelMode(QProcess::MergedChannels);
        install.start(qEnvironmentVariable("KVL_CMAKE"),
                      {QStringLiteral("--install"), qEnvironmentVariable("KVL_BUILD_DIR"),
                       QStringLiteral("--prefix"), m_prefix.path()});
        QVERIFY(install.waitForFinished(120000));
        QVERIFY2(install.exitCode() == 0, install.readAll().constData());
    }

    void installedFiles_data()
    {
        kvl::test::addDataRows(QStringLiteral("rows/install.txt"), QStringLiteral("files"));
    }
    void installedFiles()
    {
        QFETCH(QStringList, c);
        const QString path = c[1], contains = c[2];
        QFile f(m_prefix.filePath(path));
        QVERIFY2(f.open(QIODevice::ReadOnly), qPrintable(path));
        QVERIFY(f.read(1 << 20).contains(contains.toUtf8()));
    }

    void programReachedFromBin()
    {
        // The link keeps the program in its own folder, so it finds Images.
        const QFileInfo link(m_prefix.filePath(QStringLiteral("bin/kvl-analysis")));
        QVERIFY(link.isSymLink());
        const QFileInfo program(link.canonicalFilePath());
        QCOMPARE(program.absoluteFilePath(),
                 QFileInfo(m_prefix.filePath(QStringLiteral("libexec/kvl-analysis/kvl-analysis")))
                     .canonicalFilePath());
        QVERIFY(program.isExecutable());
        QVERIFY(QFileInfo::exists(program.absolutePath() + QStringLiteral("/Images/Ok.bmp")));
    }
};

QTEST_MAIN(TestInstall)
#include "tst_install.moc"
