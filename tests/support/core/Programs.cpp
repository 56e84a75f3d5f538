#include "Programs.h"

#include "files/DataFile.h"
#include "store/Store.h"

#include <QFile>
#include <QProcess>

namespace kvl::test {

QString samplePath(const QString &name)
{
    return qEnvironmentVariable("KVL_SAMPLES") + QLatin1Char('/') + name;
}

bool loadSample(const QString &name, Store &store)
{
    QFile f(samplePath(name));
    return f.open(QIODevice::ReadOnly) && readDataFile(f.readAll(), store).result == LoadOutcome::Loaded;
}

ProgramRun runProgram(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    ProgramRun r;
    if (!p.waitForFinished(120000)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.errors = QString::fromUtf8(p.readAllStandardError());
    return r;
}

ProgramRun runReport(const QStringList &args)
{
    return runProgram(qEnvironmentVariable("KVL_BIN_DIR") + QStringLiteral("/kvl-report"), args);
}

} // namespace kvl::test
