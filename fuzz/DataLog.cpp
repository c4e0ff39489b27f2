// Feeds arbitrary text to the data-log reader, as a damaged or foreign .csv
// opened in the chart would reach it. Every column has a number for every
// row, time starts at 0 and never runs backwards, maps programmed while
// recording come in row order, the text read in small pieces reads exactly
// as the text read whole, and the header read survives being written and
// read again.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>

#include "files/MonitorLog.h"

namespace {

// Counts what a reader hands on, to compare a read in pieces with a whole one.
struct Tally : orna5::LogRowSink {
    std::size_t rows = 0;
    std::size_t maps = 0;
    double lastSeconds = 0;
    void Columns(const orna5::LogHeader&, const std::vector<std::string>&) override {}
    void MapChanged(const orna5::LogMapChange&) override { ++maps; }
    void Row(const orna5::LogTime&, double seconds, const float*) override {
        ++rows;
        lastSeconds = seconds;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    orna5::MonitorLog log;
    const bool isLog = orna5::ReadMonitorLog(text, log);

    // The same text in pieces whose length the text's first byte chooses.
    Tally tally;
    orna5::MonitorLogReader reader(tally);
    const std::size_t piece = size ? 1 + data[0] % 61 : 1;
    for (std::size_t at = 0; at < size; at += piece) {
        reader.Feed(text.substr(at, piece));
    }
    reader.Finish();
    if (reader.IsLog() != isLog || reader.Skips().Total() != log.skippedLines ||
        tally.rows != log.Rows() || tally.maps != log.maps.size() ||
        (tally.rows && tally.lastSeconds != log.seconds.back())) {
        std::abort();
    }
    if (!isLog) {
        return 0; // nothing of a refused text is used
    }
    if (log.seconds.size() != log.Rows() || log.times.size() != log.Rows() ||
        log.values.size() != log.columns.size() || log.columns.size() > orna5::kMaxLogColumns) {
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
        // A time read back is a time again, and the same one.
        orna5::LogTime again;
        if (!orna5::ParseLogTime(log.TimeText(i), again) || again.millis != log.times[i].millis) {
            std::abort();
        }
    }
    for (std::size_t i = 0; i < log.maps.size(); ++i) {
        if (!log.maps[i].map.hasMap || log.maps[i].firstRow > log.Rows() ||
            (i > 0 && log.maps[i].firstRow < log.maps[i - 1].firstRow)) {
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
    if (a.hasMap != b.hasMap || a.tune != b.tune ||
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
