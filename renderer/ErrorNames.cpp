#include "ErrorNames.h"

namespace OrvaneTools {

namespace {
const char* hostName(PF_Err err) {
    switch (err) {
    case PF_Err_NONE: return "PF_Err_NONE";
    case PF_Err_OUT_OF_MEMORY: return "PF_Err_OUT_OF_MEMORY";
    case PF_Err_INTERNAL_STRUCT_DAMAGED: return "PF_Err_INTERNAL_STRUCT_DAMAGED";
    case PF_Err_BAD_CALLBACK_PARAM: return "PF_Err_BAD_CALLBACK_PARAM";
    default: return nullptr;
    }
}
} // namespace

std::string describeError(PF_Err err) {
    const std::string number = std::to_string(static_cast<long>(err));
    if (const char* name = hostName(err)) return std::string(name) + " (" + number + ")";
    return "error " + number;
}

} // namespace OrvaneTools
