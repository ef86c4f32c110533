// Where a command's result goes: standard output, or a file that appears
// whole or not at all.
#pragma once

#include <string_view>

// Puts standard input and output into binary mode where the platform has a
// text mode, so that record bytes and pictures pass unchanged.
void PrepareStandardStreams();

// Writes `bytes` to standard output when `path` is empty or "-". A file is
// written to a temporary file in the same folder and renamed over `path`
// once complete, so a failure leaves no partial file behind. Throws CliError
// (ExitCode::Failure) with the path in the message.
void WriteOutput(std::string_view path, std::string_view bytes);
