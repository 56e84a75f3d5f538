#include "Simulator.h"

#include "shell/Forms.h"
#include "store/Store.h"

#include <QFile>

namespace kvl::test {

bool Simulator::start(int version, const QStringList &args)
{
    m_process.setProgram(qEnvironmentVariable("KVL_BIN_DIR") + QStringLiteral("/kvl-sim"));
    m_process.setArguments(QStringList{"--version", QString::number(version)} + args +
                           QStringList{"--exit-with-parent"});
    m_process.start();
    if (!m_process.waitForStarted(5000))
        return false;
    // It prints its line's path first.
    while (!m_process.canReadLine())
        if (!m_process.waitForReadyRead(5000))
            return false;
    const QByteArray path = m_process.readLine().trimmed();
    qputenv("KVL_SERIAL_PORTS", path);
    appStore() = Store();
    appStore().Device_Version = qint16(version);
    appStore().Com_Port = 1;
    return path.startsWith('/');
}

kvlsim::DeviceMemory Simulator::memory() const
{
    const QStringList args = m_process.arguments();
    auto option = [&args](const char *name, int fallback) {
        const int at = int(args.indexOf(QLatin1String(name)));
        return at >= 0 ? args.value(at + 1).toInt() : fallback;
    };
    return kvlsim::generateDevice(option("--version", 5), quint32(option("--seed", 1)), option("--weeks", 4));
}

Simulator::~Simulator()
{
    qunsetenv("KVL_SERIAL_PORTS");
    if (m_process.state() != QProcess::NotRunning) {
        m_process.terminate();
        if (!m_process.waitForFinished(3000))
            m_process.kill();
        m_process.waitForFinished(1000);
    }
}

} // namespace kvl::test
