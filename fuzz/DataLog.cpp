// Feeds arbitrary text to the data-log reader, as a damaged or foreign .csv
// opened in the chart would reach it. Every column has a number for every
// row, time starts at 0 and never runs backwards, and the header read
// survives being written and read again.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>

#include "files/MonitorLog.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    orna5::MonitorLog log;
    if (!orna5::ReadMonitorLog(text, log)) {
        return 0; // nothing of a refused text is used
    }
    if (log.seconds.size() != log.Rows() || log.values.size() != log.columns.size()) {
        std::abort();
    }
    for (const auto& column : log.values) {
        if (column.size() != log.Rows()) {
            std::abort();
        }
    }
    for (std::size_t i = 0; i < log.seconds.size(); ++i) {
        const double s = log.seconds[i];
        if (std::isnan(s) || (i == 0 && s != 0) || (i > 0 && s < log.seconds[i - 1])) {
            std::abort();
        }
    }
    std::ostringstream out;
    orna5::WriteLogHeader(out, log.header);
    orna5::MonitorLog again;
    if (!orna5::ReadMonitorLog(std::string_view(out.str()), again) || again.Rows() != 0) {
        std::abort();
    }
    const orna5::LogHeader& a = log.header;
    const orna5::LogHeader& b = again.header;
    if (a.hasMap != b.hasMap ||
        (a.hasMap &&
         (a.mapUsesTps != b.mapUsesTps || a.mapRpm != b.mapRpm || a.advanceMap != b.advanceMap))) {
        std::abort();
    }
    // The writer keeps a header text on its line by blanking line breaks, so
    // only a text without a carriage return comes back as it was.
    const auto same = [](const std::string& x, const std::string& y) {
        return x.find('\r') != std::string::npos || x == y;
    };
    if (!same(a.unitVersion, b.unitVersion) || !same(a.parameterFile, b.parameterFile)) {
        std::abort();
    }
    return 0;
}
