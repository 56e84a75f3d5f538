#include "files/UntrustedRead.h"

#include "files/DataFile.h"

#include <QLocale>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kvl {

namespace {

// Closes the descriptor however the read ends.
class Descriptor
{
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int fd() const { return m_fd; }

private:
    int m_fd;
};

// Appends up to `count` bytes; false on a read error (errno set).
bool readUpTo(int fd, qint64 count, QByteArray &out)
{
    const qint64 start = out.size();
    out.resize(start + count);
    qint64 got = 0;
    while (got < count) {
        const ssize_t n = ::read(fd, out.data() + start + got, std::size_t(count - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            out.resize(start + got);
            return false;
        }
        if (n == 0)
            break;
        got += n;
    }
    out.resize(start + got);
    return true;
}

// The size when known, else only that it passed the limit while read.
QString tooLarge(qint64 size)
{
    const QLocale c = QLocale::c();
    const QString most = c.toString(largestDataFile());
    if (size < 0)
        return QStringLiteral("larger than any data file: more than %1 bytes").arg(most);
    return QStringLiteral("larger than any data file: %1 bytes, at most %2").arg(c.toString(size), most);
}

} // namespace

UntrustedBytes readUntrustedDataFile(const QByteArray &localPath)
{
    UntrustedBytes r;
    const Descriptor file(::open(localPath.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat info;
    if (file.fd() < 0 || ::fstat(file.fd(), &info) != 0) {
        r.error = qt_error_string(errno);
        return r;
    }
    if (S_ISDIR(info.st_mode)) {
        r.error = QStringLiteral("is a directory");
        return r;
    }
    if (!S_ISREG(info.st_mode)) {
        r.error = QStringLiteral("is not a regular file");
        return r;
    }
    const qint64 limit = largestDataFile();
    if (qint64(info.st_size) > limit) {
        r.error = tooLarge(qint64(info.st_size));
        return r;
    }
    if (!readUpTo(file.fd(), markerHeadSize(), r.bytes)) {
        r.error = qt_error_string(errno);
        r.bytes.clear();
        return r;
    }
    if (headVersion(r.bytes) == 0)
        return r;
    // One byte past the limit tells a file that grew since fstat().
    if (!readUpTo(file.fd(), limit + 1 - r.bytes.size(), r.bytes)) {
        r.error = qt_error_string(errno);
        r.bytes.clear();
        return r;
    }
    if (r.bytes.size() > limit) {
        r.error = tooLarge(-1);
        r.bytes.clear();
    }
    return r;
}

} // namespace kvl
