#pragma once

// The sample data files and runs of the programs the tests start.

#include <QByteArray>
#include <QStringList>

namespace kvl {
struct Store;
}

namespace kvl::test {

// samples/<name>.
QString samplePath(const QString &name);
// Loads samples/<name> into `store`; false when it cannot be read or loaded.
bool loadSample(const QString &name, Store &store);

struct ProgramRun
{
    int status = -1; // -1: crashed or still running after two minutes
    QByteArray out;
    QString errors; // standard error
    QStringList errorLines() const { return errors.split(QLatin1Char('\n'), Qt::SkipEmptyParts); }
};

// Runs `program` (a path, or a name found on PATH) and waits for it to end.
ProgramRun runProgram(const QString &program, const QStringList &args);
// Runs the kvl-report that was built.
ProgramRun runReport(const QStringList &args);

} // namespace kvl::test
