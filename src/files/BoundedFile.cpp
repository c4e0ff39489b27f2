#include "files/BoundedFile.h"

#include "files/ParameterFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace orna5 {

namespace {

BoundedRead Fault(ReadFault fault, int error = 0) {
    BoundedRead result;
    result.fault = fault;
    result.error = error;
    return result;
}

// Closes the descriptor on every way out.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd(fd) {}
    ~Descriptor() {
        if (fd >= 0)
            ::close(fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return fd; }

private:
    int fd;
};

} // namespace

BoundedRead ReadBoundedFile(const std::string& path, std::size_t limit) {
    struct stat before {};
    if (::stat(path.c_str(), &before) != 0)
        return Fault(ReadFault::System, errno);
    if (!S_ISREG(before.st_mode))
        return Fault(ReadFault::NotRegular);
    if (static_cast<unsigned long long>(before.st_size) > limit)
        return Fault(ReadFault::TooLarge);

    // Non-blocking, so that a FIFO put in its place since the check still
    // cannot hold the open up; no controlling terminal from a tty either.
    const Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (file.Get() < 0)
        return Fault(ReadFault::System, errno);
    struct stat opened {};
    if (::fstat(file.Get(), &opened) != 0)
        return Fault(ReadFault::System, errno);
    if (!S_ISREG(opened.st_mode))
        return Fault(ReadFault::NotRegular);

    BoundedRead result;
    result.bytes.resize(limit + 1);
    std::size_t total = 0;
    while (total < result.bytes.size()) {
        const ssize_t n = ::read(file.Get(), &result.bytes[total], result.bytes.size() - total);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return Fault(ReadFault::System, errno);
        }
        if (n == 0)
            break;
        total += static_cast<std::size_t>(n);
    }
    if (total > limit)
        return Fault(ReadFault::TooLarge);
    result.bytes.resize(total);
    return result;
}

LoadOutcome LoadParameterFile(const std::string& path, ParameterImage& image) {
    LoadOutcome outcome;
    outcome.read = ReadBoundedFile(path);
    if (!outcome.read.Ok()) {
        outcome.status = LoadStatus::OpenError;
        return outcome;
    }
    std::istringstream in(outcome.read.bytes);
    outcome.read.bytes.clear();
    if (!ReadParameterFile(in, image))
        outcome.status = LoadStatus::UnmatchedVersion;
    return outcome;
}

} // namespace orna5
