#include "VerboseReport.h"

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

const char* shapeName(A_long shape) {
    switch (shape) {
    case 1: return "linear";
    case 2: return "radial";
    default: return "unknown";
    }
}

const char* repeatName(A_long repeat) {
    switch (repeat) {
    case 1: return "none";
    case 2: return "loop";
    case 3: return "pingpong";
    default: return "unknown";
    }
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

std::string describePreRenderRecord(const std::vector<unsigned char>& record) {
    OrvaneHost::PreRenderRecordView view;
    if (!OrvaneHost::decodePreRenderRecord(record, view))
        return record.empty() ? std::string("none") : "a record of " + std::to_string(record.size()) + " bytes";
    std::ostringstream text;
    text << std::setprecision(9) << "shape " << view.shape << " (" << shapeName(view.shape) << "), point1 ("
         << view.point1[0] << ", " << view.point1[1] << "), point2 (" << view.point2[0] << ", " << view.point2[1]
         << "), repeat " << view.repeat << " (" << repeatName(view.repeat) << "), color (alpha " << view.color[0]
         << ", red " << view.color[1] << ", green " << view.color[2] << ", blue " << view.color[3] << "), opacity "
         << view.opacity;
    return text.str();
}

void printFrame(std::ostream& out, long number, const A_Time& time, const OrvaneHost::Frame& frame,
                const OrvaneHost::FrameReport& report) {
    std::ostringstream text;
    text << "frame " << number << " at time " << time.value << "/" << time.scale << " ("
         << static_cast<double>(time.value) / time.scale << " s): " << frame.width << "x" << frame.height << " at " << frame.depth << " bits\n";
    text << "  pre-render record: " << describePreRenderRecord(report.preRenderRecord) << "\n";
    text << "  tables: color " << report.colorEntries << " entries, opacity " << report.opacityEntries
         << " entries; stream-value requests: " << report.streamValueRequests << "\n";
    text << "  render time: " << std::fixed << std::setprecision(3) << report.renderSeconds * 1000.0 << " ms\n";
    out << text.str();
}

void printRefreshPress(std::ostream& out, long counter, std::size_t rerenders) {
    out << "Refresh pressed: refresh counter " << counter << ", renders forced " << rerenders << "\n";
}

} // namespace OrvaneTools
