// Feeds arbitrary text to the settings file reader. What was read survives a
// save and a second read unchanged, and keys written over it (with values
// taken from the input too) read back as written while every other key keeps
// its value.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "device/PortTable.h"
#include "files/ProfileFile.h"

namespace {

struct Key {
    const char* section;
    const char* key;
};

// The keys the window reads and writes, a port override, and names whose
// letter case or spacing differ from what the file may hold.
const Key kKeys[] = {
    {"FORM_HLAV", "Left"},
    {"FORM_HLAV", "Top"},
    {"FORM_HLAV", "Height"},
    {"FORM_HLAV", "Width"},
    {"FORM_HLAV", "ComPort"},
    {"FORM_HLAV", "Language"},
    {"FORM_HLAV", "File"},
    {"FORM_HLAV", "IniDir"},
    {"FORM_HLAV", "PageControl1->ActivePageIndex"},
    {"form_hlav", "language"},
    {"PORTS", "Com1"},
    {"PORTS", "Com21"},
    {"a", "b"},
};

struct Snapshot {
    std::vector<std::string> strings;
    std::vector<int> integers;
};

Snapshot Take(const orna5::ProfileFile& file) {
    Snapshot s;
    for (const Key& k : kKeys) {
        s.strings.push_back(file.ReadString(k.section, k.key, "\x01missing"));
        s.integers.push_back(file.ReadInteger(k.section, k.key, -7));
    }
    return s;
}

bool Same(const Snapshot& a, const Snapshot& b) {
    return a.strings == b.strings && a.integers == b.integers;
}

std::string Saved(const orna5::ProfileFile& file) {
    std::ostringstream out;
    file.Save(out);
    return out.str();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    // The last line of the input, if any, is used as a value to write.
    const std::size_t cut = text.rfind('\n');
    const std::string value = cut == std::string::npos ? text : text.substr(cut + 1);

    orna5::ProfileFile file;
    std::istringstream in(text);
    file.Load(in);
    const Snapshot first = Take(file);
    orna5::PortTable::FromKeys(
        [&file](const std::string& key) { return file.ReadString("PORTS", key, ""); });

    orna5::ProfileFile reloaded;
    std::istringstream savedIn(Saved(file));
    reloaded.Load(savedIn);
    if (!Same(first, Take(reloaded))) {
        std::abort();
    }

    // Write one key of the list; it must read back, and nothing else moves.
    const std::size_t which = size % (sizeof kKeys / sizeof kKeys[0]);
    const Key& target = kKeys[which];
    const bool written = file.WriteString(target.section, target.key, value);
    Snapshot expected = first;
    if (written) {
        // Names match without regard to case, so an equal name in other
        // letters is the same key.
        const Snapshot now = Take(file);
        if (now.strings[which] != value) {
            std::abort();
        }
        expected = now;
    } else if (!Same(first, Take(file))) {
        std::abort();
    }
    orna5::ProfileFile afterWrite;
    std::istringstream writtenIn(Saved(file));
    afterWrite.Load(writtenIn);
    if (!Same(expected, Take(afterWrite))) {
        std::abort();
    }
    for (std::size_t i = 0; i < expected.strings.size(); ++i) {
        if (i != which && written && expected.strings[i] != first.strings[i]) {
            const Key& k = kKeys[i];
            // Only a key that names the same entry may have changed.
            orna5::ProfileFile probe;
            std::istringstream probeIn(std::string("[") + target.section + "]\n" + target.key +
                                       "=x\n");
            probe.Load(probeIn);
            if (probe.ReadString(k.section, k.key, "") != "x") {
                std::abort();
            }
        }
    }
    return 0;
}
