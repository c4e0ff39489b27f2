#include "sim/UnitEmulator.h"

#include "device/UnitInfoBlock.h"
#include "files/ParameterFile.h"
#include "params/BikePresets.h"
#include "params/NormaliseImage.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>

namespace orna5 {

namespace {

constexpr std::uint8_t kStrayByte = 0xA5;
constexpr int kStartModel = 20;

} // namespace

UnitEmulator::UnitEmulator(EmulatorOptions givenOptions) : options(std::move(givenOptions)) {
    ParameterImage image{};
    image[field::bikeCode] = kStartModel;
    bool chosenFromList = false;
    ApplyBikePreset(image, chosenFromList);
    NormaliseImage(image);
    StoreImage(image);
}

void UnitEmulator::SetOptions(const EmulatorOptions& newOptions) {
    options = newOptions;
    dropped = corrupted = badEchoes = strayed = 0;
}

void UnitEmulator::StoreImage(const ParameterImage& image) {
    std::copy(image.begin(), image.begin() + kMemorySize, memory.begin());
}

bool UnitEmulator::LoadFile(const std::string& path, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path + ": " + std::strerror(errno);
        return false;
    }
    ParameterImage image{};
    std::copy(memory.begin(), memory.end(), image.begin());
    if (!ReadParameterFile(in, image)) {
        error = path + ": not a parameter file of version " + std::to_string(kParameterFileVersion);
        return false;
    }
    StoreImage(image);
    return true;
}

UnitEmulator::Payload UnitEmulator::InfoBlock() const {
    Payload block{};
    const UnitIdentity& id = options.identity;
    for (std::size_t i = 0; i < 3; ++i)
        block[i] =
            i < id.versionPrefix.size() ? static_cast<std::uint8_t>(id.versionPrefix[i]) : ' ';
    block[3] = id.versionNumber;
    block[4] = id.buildDay;
    block[5] = MonthCode(id.buildMonth);
    block[6] = id.buildYear;
    block[7] = id.buildHour;
    block[8] = id.buildMinute;
    block[10] = static_cast<std::uint8_t>(options.protocolVersion);
    const std::size_t longLength = std::min<std::size_t>(id.longVersion.size(), 30);
    for (std::size_t i = 0; i < longLength; ++i)
        block[16 + i] = static_cast<std::uint8_t>(id.longVersion[i]);
    return block;
}

std::vector<std::uint8_t> UnitEmulator::Feed(const std::uint8_t* data, std::size_t n) {
    std::vector<std::uint8_t> out;
    input.insert(input.end(), data, data + n);
    std::size_t used = 0;
    while (input.size() - used >= kFrameSize) {
        const std::uint8_t* frame = input.data() + used;
        used += kFrameSize;
        if (!FrameCheckOk(frame)) {
            // The unit drops a damaged frame without a word.
            ++rejectedFrames;
            continue;
        }
        std::vector<std::uint8_t> answer = Answer(frame);
        out.insert(out.end(), answer.begin(), answer.end());
    }
    input.erase(input.begin(), input.begin() + static_cast<std::ptrdiff_t>(used));
    return out;
}

std::vector<std::uint8_t> UnitEmulator::Answer(const std::uint8_t* frame) {
    const std::uint8_t code = frame[0];
    if (code != PollCommand)
        ++dataCommandCount;
    if (options.silent)
        return {};
    std::vector<std::uint8_t> answer(kFrameSize, 0);
    answer[0] = static_cast<std::uint8_t>(code ^ AnswerFlag);

    if (code == PollCommand) {
        ++pollCount;
        engine.Step(memory.data());
        savingCount = std::max(0, savingCount - kSavingStep);
        BuildMonitorFrame(answer.data());
        answer[kFrameSize - 1] = FrameCheckByte(answer.data());
        if (options.faultPolls)
            ApplyFaults(answer, -1);
        return answer;
    }

    const int page = code & PageMask;
    if ((code & AnswerFlag) || page > 2)
        return {}; // not a command this unit knows
    const bool read = (code & ReadFlag) != 0;
    std::uint8_t* payload = answer.data() + 1;
    if (page == 0) {
        const Payload block = InfoBlock();
        std::copy(block.begin(), block.end(), payload);
    } else if (read) {
        const std::size_t base = (page - 1) * kPayloadSize;
        std::copy(memory.begin() + base, memory.begin() + base + kPayloadSize, payload);
    } else {
        ProgramPage(page, frame + 1, payload);
    }
    answer[kFrameSize - 1] = FrameCheckByte(answer.data());
    ApplyFaults(answer, read ? 0 : page);
    return answer;
}

void UnitEmulator::ProgramPage(int page, const std::uint8_t* received, std::uint8_t* echo) {
    const std::size_t base = (page - 1) * kPayloadSize;
    std::copy(received, received + kPayloadSize, memory.begin() + base);
    std::copy(memory.begin() + base, memory.begin() + base + kPayloadSize, echo);
    // A worn memory cell: the page is taken in and echoed as sent, but the
    // cell keeps a different value, which only a read-back reveals.
    const int offset = options.badStoreOffset;
    if (offset >= static_cast<int>(base) && offset < static_cast<int>(base + kPayloadSize))
        memory[offset] = static_cast<std::uint8_t>(received[offset - base] + 1);
    if (page == 2)
        ++programmingCount;
    savingCount = kSavingFull;
}

void UnitEmulator::ApplyFaults(std::vector<std::uint8_t>& answer, int programmedPage) {
    if (dropped < options.dropAnswers) {
        ++dropped;
        answer.clear();
        return;
    }
    if (programmedPage > 0 && programmedPage == options.badEchoPage &&
        badEchoes < options.badEchoAnswers) {
        ++badEchoes;
        answer[1] ^= 0xFF;
        answer[kFrameSize - 1] = FrameCheckByte(answer.data());
    }
    if (corrupted < options.corruptAnswers) {
        ++corrupted;
        answer[kFrameSize - 1] ^= 0x5A;
    }
    if (strayed < options.strayAnswers && options.strayBytes > 0) {
        ++strayed;
        answer.insert(answer.begin(), static_cast<std::size_t>(options.strayBytes), kStrayByte);
    }
}

void UnitEmulator::BuildMonitorFrame(std::uint8_t* out) {
    out[0] = MonitorCode;
    engine.FillLiveFields(memory.data(), out);
    namespace m = monitorField;
    PutFrameWord(out, m::programmings, static_cast<std::uint16_t>(programmingCount));
    // Test values: the sweep position and the counters, for a glance in test mode.
    PutFrameWord(out, m::testValues, static_cast<std::uint16_t>(engine.Phase()));
    PutFrameWord(out, m::testValues + 2, static_cast<std::uint16_t>(pollCount));
    PutFrameWord(out, m::testValues + 4, static_cast<std::uint16_t>(rejectedFrames));
    PutFrameWord(out, m::savingCount, static_cast<std::uint16_t>(savingCount));
    out[m::storedDataError] = 0;
    out[m::protocolVersion] = static_cast<std::uint8_t>(options.protocolVersion);
}

} // namespace orna5
