#include "WriteFaults.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kvl::test {

namespace {
constexpr uid_t Nobody = 65534;
}

WriteFault writeFault(const QString &name)
{
    if (name == QLatin1String("size limit"))
        return WriteFault::SizeLimit;
    if (name == QLatin1String("read-only folder"))
        return WriteFault::ReadOnlyFolder;
    if (name == QLatin1String("read-only file"))
        return WriteFault::ReadOnlyFile;
    if (name != QLatin1String("none"))
        qFatal("unknown write fault %s", qPrintable(name));
    return WriteFault::None;
}

struct FaultyTarget::State
{
    QByteArray folder, target;
    WriteFault fault = WriteFault::None;
    rlimit oldLimit{};
    bool dropped = false;
};

FaultyTarget::FaultyTarget(const QString &target, WriteFault fault, qint64 limit)
    : m_state(std::make_unique<State>())
{
    State &s = *m_state;
    // The folder's mode changes: never a shared one.
    if (fault != WriteFault::None && QFileInfo(target).absoluteDir() == QDir::temp())
        qFatal("a write fault needs a folder of its own");
    s.fault = fault;
    s.target = QFile::encodeName(target);
    s.folder = QFile::encodeName(QFileInfo(target).absolutePath());
    // Another user must reach the folder (temporary folders are 0700).
    if (fault == WriteFault::ReadOnlyFolder || fault == WriteFault::ReadOnlyFile)
        chmod(s.folder.constData(), fault == WriteFault::ReadOnlyFolder ? 0555 : 0777);
    switch (fault) {
    case WriteFault::SizeLimit: {
        // EFBIG instead of the signal that would end the test.
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &s.oldLimit);
        const rlimit r{rlim_t(limit), s.oldLimit.rlim_max};
        setrlimit(RLIMIT_FSIZE, &r);
        break;
    }
    case WriteFault::ReadOnlyFolder:
        // Only the folder refuses.
        chmod(s.target.constData(), 0666);
        break;
    case WriteFault::ReadOnlyFile:
        chmod(s.target.constData(), 0444);
        break;
    default:
        break;
    }
    if ((fault == WriteFault::ReadOnlyFolder || fault == WriteFault::ReadOnlyFile) && geteuid() == 0) {
        if (setresuid(Nobody, Nobody, 0) != 0)
            qFatal("cannot run as another user");
        s.dropped = true;
    }
}

FaultyTarget::~FaultyTarget()
{
    State &s = *m_state;
    if (s.dropped && setresuid(0, 0, 0) != 0)
        qFatal("cannot come back to root");
    if (s.fault == WriteFault::SizeLimit)
        setrlimit(RLIMIT_FSIZE, &s.oldLimit);
    if (s.fault == WriteFault::ReadOnlyFolder || s.fault == WriteFault::ReadOnlyFile)
        chmod(s.folder.constData(), 0700);
    if (s.fault == WriteFault::ReadOnlyFolder || s.fault == WriteFault::ReadOnlyFile)
        chmod(s.target.constData(), 0644);
}

} // namespace kvl::test
