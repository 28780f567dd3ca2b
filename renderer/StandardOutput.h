// Standard output is part of the result: what --verbose, --help, --version and inspect print, and the frames
// of -o -, must arrive. A closed pipe or a full disk behind it is an error with its own exit code
// (ExitCode::StandardOutput), never a silent loss.
#pragma once

#include <cstdio>
#include <ostream>
#include <string>

namespace OrvaneTools {

// Writes `text` and flushes; throws a ToolError (ExitCode::StandardOutput) with the reason when it could not
// all be written.
void printReport(std::ostream& out, const std::string& text);

bool streamIsTerminal(std::FILE* stream);

// Before frames are written to standard output: refuses a terminal (a usage ToolError), since image bytes
// would only garble it, and on Windows puts standard output in binary mode, so that no byte of an image is
// turned into a line ending.
void prepareStandardOutputForImages();

} // namespace OrvaneTools
