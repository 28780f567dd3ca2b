#include "VerboseReport.h"

#include "host/ParameterControls.h"

#include <cstdint>
#include <iomanip>
#include <sstream>

namespace OrvaneTools {

namespace {

struct NamedBit {
    A_long bit;
    const char* name;
};

std::string bitNames(A_long flags, const NamedBit* bits, std::size_t count) {
    std::string names;
    auto rest = static_cast<std::uint32_t>(flags);
    for (std::size_t i = 0; i < count; ++i) {
        const auto bit = static_cast<std::uint32_t>(bits[i].bit);
        if (!(rest & bit)) continue;
        names += (names.empty() ? "" : " | ") + std::string(bits[i].name);
        rest &= ~bit;
    }
    if (rest) {
        std::ostringstream hex;
        hex << "0x" << std::hex << std::uppercase << std::setw(8) << std::setfill('0') << rest;
        names += (names.empty() ? "" : " | ") + hex.str();
    }
    return names.empty() ? "none" : names;
}

std::string hex32(std::uint32_t value) {
    std::ostringstream text;
    text << "0x" << std::hex << std::uppercase << std::setw(8) << std::setfill('0') << value;
    return text.str();
}

} // namespace

std::string outFlagNames(PF_OutFlags flags) {
    static const NamedBit bits[] = {
        {PF_OutFlag_DISPLAY_ERROR_MESSAGE, "PF_OutFlag_DISPLAY_ERROR_MESSAGE"},
        {PF_OutFlag_REFRESH_UI, "PF_OutFlag_REFRESH_UI"},
        {PF_OutFlag_FORCE_RERENDER, "PF_OutFlag_FORCE_RERENDER"},
        {PF_OutFlag_DEEP_COLOR_AWARE, "PF_OutFlag_DEEP_COLOR_AWARE"},
        {PF_OutFlag_SEND_UPDATE_PARAMS_UI, "PF_OutFlag_SEND_UPDATE_PARAMS_UI"},
    };
    return bitNames(flags, bits, sizeof(bits) / sizeof(bits[0]));
}

std::string outFlag2Names(PF_OutFlags2 flags) {
    static const NamedBit bits[] = {
        {PF_OutFlag2_SUPPORTS_SMART_RENDER, "PF_OutFlag2_SUPPORTS_SMART_RENDER"},
        {PF_OutFlag2_FLOAT_COLOR_AWARE, "PF_OutFlag2_FLOAT_COLOR_AWARE"},
    };
    return bitNames(flags, bits, sizeof(bits) / sizeof(bits[0]));
}

void printAboutAndVersion(std::ostream& out, const std::string& aboutText, A_u_long version) {
    std::string about = aboutText;
    for (char& c : about)
        if (c == '\r') c = '\n';
    std::istringstream lines(about);
    for (std::string line; std::getline(lines, line);) out << "  " << line << "\n";
    out << "  version " << hex32(version) << ": " << ((version >> 19) & 0x7) << "." << ((version >> 15) & 0xF) << "."
        << ((version >> 11) & 0xF) << ", stage " << ((version >> 9) & 0x3) << ", build " << (version & 0x1FF) << "\n";
}

void printRegistration(std::ostream& out, const std::string& aboutText, A_u_long version, PF_OutFlags outFlags,
                       PF_OutFlags2 outFlags2, std::size_t parameterCount) {
    out << "registration:\n";
    printAboutAndVersion(out, aboutText, version);
    out << "  out flags " << hex32(static_cast<std::uint32_t>(outFlags)) << ": " << outFlagNames(outFlags) << "\n";
    out << "  out flags 2 " << hex32(static_cast<std::uint32_t>(outFlags2)) << ": " << outFlag2Names(outFlags2) << "\n";
    out << "  parameters: " << parameterCount << " (the input layer and " << (parameterCount ? parameterCount - 1 : 0)
        << " controls)\n";
}

void printFrame(std::ostream& out, const OrvaneHost::Host& host, long number, const A_Time& time,
                const OrvaneHost::Frame& frame, const OrvaneHost::FrameReport& report) {
    std::ostringstream text;
    text << "frame " << number << " at time " << time.value << "/" << time.scale << " ("
         << static_cast<double>(time.value) / time.scale << " s): " << frame.width << "x" << frame.height << " at " << frame.depth << " bits\n";
    text << "  checked out:";
    for (const OrvaneHost::CheckedOutValue& checkout : report.checkedOut)
        text << (&checkout == report.checkedOut.data() ? " " : ", ")
             << OrvaneHost::controlValue(host, checkout.index, checkout.value);
    text << "\n  stream-value requests: " << report.streamValueRequests;
    for (const auto& [index, count] : report.streamValueRequestsByParam)
        text << (index == report.streamValueRequestsByParam.begin()->first ? " (" : ", ")
             << OrvaneHost::controlName(host, index) << " " << count;
    text << (report.streamValueRequestsByParam.empty() ? "" : ")") << "\n";
    text << "  render time: " << std::fixed << std::setprecision(3) << report.renderSeconds * 1000.0 << " ms\n";
    out << text.str();
}

void printRefreshPress(std::ostream& out, long counter, std::size_t rerenders) {
    out << "Refresh pressed: refresh counter " << counter << ", renders forced " << rerenders << "\n";
}

} // namespace OrvaneTools
