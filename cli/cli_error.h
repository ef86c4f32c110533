// The tool's errors and their exit codes. Every failure ends as one of these
// exit codes, and the mapping lives in cli_error.cpp alone.
#pragma once

#include "exception.h"
#include "pdf417.h"

#include <exception>
#include <string>

enum class ExitCode : int {
    Success = 0,
    Failure = 1,      // input or output failed, or a value cannot be converted
    Usage = 2,        // the command line is wrong
    TextTooBig = 3,   // the engine's ecTextTooLong
    BadCodewords = 4, // raw codewords refused, by us or by the engine's ecBadRawCodewords
};

class CliError : public Exception {
public:
    CliError(ExitCode code, const std::string& message) : Exception(message), Code(code) {}
    ExitCode Code;
};

// Raises the error that an engine result other than ecSuccess means.
void ThrowOnEngineError(const TPDF417Param& param);

// The exit code for an error that ended a command.
ExitCode ExitCodeOf(const std::exception& error);
