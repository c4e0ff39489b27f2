#include "device/ModemManagerWatch.h"

#include <dirent.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <cctype>
#include <fstream>
#include <sstream>

namespace orna5 {

namespace {

// At most this much of a record is read: udev's are a few kilobytes.
constexpr std::size_t kRecordLimit = 64 * 1024;

std::string ReadSome(const std::string& path, std::size_t limit) {
    std::ifstream in(path, std::ios::binary);
    std::string text(limit, '\0');
    in.read(text.data(), static_cast<std::streamsize>(limit));
    text.resize(static_cast<std::size_t>(in.gcount()));
    return text;
}

} // namespace

bool ModemManagerRuns(const std::string& procRoot) {
    DIR* dir = ::opendir(procRoot.c_str());
    if (!dir)
        return false;
    bool found = false;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.empty() || !std::isdigit(static_cast<unsigned char>(name[0])))
            continue;
        if (ReadSome(procRoot + "/" + name + "/comm", 64) == "ModemManager\n") {
            found = true;
            break;
        }
    }
    ::closedir(dir);
    return found;
}

bool UdevRecordIgnoresModemManager(std::string_view record) {
    // One property per line, "E:NAME=value".
    while (!record.empty()) {
        const std::size_t end = record.find('\n');
        const std::string_view line = record.substr(0, end);
        if (line == "E:ID_MM_DEVICE_IGNORE=1")
            return true;
        if (end == std::string_view::npos)
            break;
        record.remove_prefix(end + 1);
    }
    return false;
}

bool ExcludedFromModemManager(const std::string& device, const std::string& udevData) {
    struct stat st {};
    if (::stat(device.c_str(), &st) != 0 || !S_ISCHR(st.st_mode))
        return false;
    std::ostringstream name;
    name << udevData << "/c" << major(st.st_rdev) << ':' << minor(st.st_rdev);
    return UdevRecordIgnoresModemManager(ReadSome(name.str(), kRecordLimit));
}

} // namespace orna5
