#pragma once

#include "params/ParameterImage.h"

#include <cstddef>
#include <functional>
#include <string>

namespace orna5 {

// The largest file the programs read as a parameter file. A real one is
// about 3 KiB; anything far larger is not one and is refused before it is
// read into memory.
constexpr std::size_t kMaxParameterFileBytes = 1024 * 1024;

// Why a file could not be read.
enum class ReadFault {
    None,
    System,     // the system refused (no such file, no permission...): see error
    NotRegular, // a folder, a FIFO, a device or a socket
    TooLarge,   // more than the limit
};

struct BoundedRead {
    ReadFault fault = ReadFault::None;
    int error = 0;                              // errno for ReadFault::System
    std::size_t limit = kMaxParameterFileBytes; // the limit it was read with, for TooLarge
    std::string bytes;

    bool Ok() const { return fault == ReadFault::None; }
};

// Reads a whole regular file of at most limit bytes. What the path names is
// checked before it is opened, so a FIFO or a device is never opened (an
// open could block or disturb the device), and checked again on the open
// file in case it was swapped in between; the read stops after limit + 1
// bytes, so a file that grows meanwhile cannot fill the memory either.
// Memory grows with what the file holds, never with the limit.
BoundedRead ReadBoundedFile(const std::string& path, std::size_t limit = kMaxParameterFileBytes);

// Reads the file as ReadBoundedFile does, but hands each piece to `take` as
// it comes instead of keeping it, so a reader can stream a large file. The
// pieces end anywhere, even inside a line. A fault found after some pieces
// were handed on (the file grew past the limit, the disk failed) is still
// the outcome: the caller must drop what it made of them. `bytes` stays
// empty.
BoundedRead StreamBoundedFile(const std::string& path, std::size_t limit,
                              const std::function<void(const char* data, std::size_t size)>& take);

enum class LoadStatus {
    Loaded,
    OpenError,        // "Open file error!": the read's fault says why
    UnmatchedVersion, // "Unmatched version of *.ign file!"
};

struct LoadOutcome {
    LoadStatus status = LoadStatus::Loaded;
    BoundedRead read; // bytes emptied after parsing
};

// Reads a parameter file into image through ReadBoundedFile. The image
// changes only when the status is Loaded, and then as a whole.
LoadOutcome LoadParameterFile(const std::string& path, ParameterImage& image);

} // namespace orna5
