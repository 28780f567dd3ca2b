// Reading an encoder choice by its name, as --exr-compression and --png-compression give it.
#include "EncodingSettings.h"

#include "ImageFormat.h"
#include "ToolError.h"

namespace OrvaneTools {

namespace {

template <class Choice> auto parseChoice(const std::vector<Choice>& choices, const std::string& text, const std::string& what) {
    std::vector<std::string> names;
    for (const Choice& choice : choices) {
        if (text == choice.name) return choice.value;
        names.push_back(choice.name);
    }
    throw usageError(what + ": expected " + spokenList(names) + ", got '" + text + "'");
}

} // namespace

ExrCompression parseExrCompression(const std::string& text, const std::string& what) {
    return parseChoice(exrCompressions(), text, what);
}

PngCompression parsePngCompression(const std::string& text, const std::string& what) {
    return parseChoice(pngCompressions(), text, what);
}

} // namespace OrvaneTools
