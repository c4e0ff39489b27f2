#include "files/BoundedFile.h"

#include "files/ParameterFile.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace orna5 {

namespace {

BoundedRead Fault(ReadFault fault, std::size_t limit, int error = 0) {
    BoundedRead result;
    result.fault = fault;
    result.error = error;
    result.limit = limit;
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

BoundedRead StreamBoundedFile(const std::string& path, std::size_t limit,
                              const std::function<void(const char*, std::size_t)>& take) {
    struct stat before {};
    if (::stat(path.c_str(), &before) != 0)
        return Fault(ReadFault::System, limit, errno);
    if (!S_ISREG(before.st_mode))
        return Fault(ReadFault::NotRegular, limit);
    if (static_cast<unsigned long long>(before.st_size) > limit)
        return Fault(ReadFault::TooLarge, limit);

    // Non-blocking, so that a FIFO put in its place since the check still
    // cannot hold the open up; no controlling terminal from a tty either.
    const Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (file.Get() < 0)
        return Fault(ReadFault::System, limit, errno);
    struct stat opened {};
    if (::fstat(file.Get(), &opened) != 0)
        return Fault(ReadFault::System, limit, errno);
    if (!S_ISREG(opened.st_mode))
        return Fault(ReadFault::NotRegular, limit);

    // One piece at a time; a byte past the limit is enough to know the file
    // is too large, so no more than that is ever read.
    char piece[64 * 1024];
    std::size_t total = 0;
    while (total <= limit) {
        const std::size_t wanted = std::min(sizeof piece, limit + 1 - total);
        const ssize_t n = ::read(file.Get(), piece, wanted);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return Fault(ReadFault::System, limit, errno);
        }
        if (n == 0)
            break;
        total += static_cast<std::size_t>(n);
        if (total > limit)
            return Fault(ReadFault::TooLarge, limit);
        take(piece, static_cast<std::size_t>(n));
    }
    BoundedRead result;
    result.limit = limit;
    return result;
}

BoundedRead ReadBoundedFile(const std::string& path, std::size_t limit) {
    std::string bytes;
    BoundedRead result = StreamBoundedFile(
        path, limit, [&bytes](const char* data, std::size_t size) { bytes.append(data, size); });
    if (result.Ok())
        result.bytes = std::move(bytes);
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
