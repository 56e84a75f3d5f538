#pragma once

// Ways writing a file fails, made real for the life of an object: a file-size
// limit (a full disk, as the writer sees it), a read-only folder, a read-only
// file. POSIX calls stay here, out of the program.

#include <QString>

#include <memory>

namespace kvl::test {

enum class WriteFault { None, SizeLimit, ReadOnlyFolder, ReadOnlyFile };

// "none", "size limit", "read-only folder", "read-only file".
WriteFault writeFault(const QString &name);

// The size past which writes fail under WriteFault::SizeLimit, unless told.
constexpr qint64 WriteLimit = 4096;

// Applies `fault` to writing `target` (in a folder of its own) until destroyed.
// As root, permissions bind only after dropping to another user: the
// process runs as "nobody" meanwhile, with root kept to come back.
class FaultyTarget
{
public:
    FaultyTarget(const QString &target, WriteFault fault, qint64 limit = WriteLimit);
    ~FaultyTarget();
    FaultyTarget(const FaultyTarget &) = delete;
    FaultyTarget &operator=(const FaultyTarget &) = delete;

private:
    struct State;
    std::unique_ptr<State> m_state;
};

} // namespace kvl::test
