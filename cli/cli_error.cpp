#include "cli_error.h"

#include "pdf417_barcode.h"

#include <string_view>

void ThrowOnEngineError(const TPDF417Param& param) {
    switch (param.ErrorCode) {
    case ecSuccess:
        return;
    case ecTextTooLong:
        throw CliError(ExitCode::TextTooBig, TextTooBigMessage);
    case ecBadRawCodewords:
        throw CliError(ExitCode::BadCodewords,
                       "The raw codewords were refused: give 1 to " +
                           std::to_string(PDF417MaxDataCodewords) +
                           " codewords, the first equal to their number, each from 0 to " +
                           std::to_string(PDF417MaxCodewordValue) + ".");
    default:
        throw CliError(ExitCode::Failure, "The encoder failed with error code " +
                                              std::to_string(param.ErrorCode) + ".");
    }
}

ExitCode ExitCodeOf(const std::exception& error) {
    if (const auto* cliError = dynamic_cast<const CliError*>(&error)) return cliError->Code;
    if (dynamic_cast<const Exception*>(&error) && std::string_view(error.what()) == TextTooBigMessage)
        return ExitCode::TextTooBig;
    // Any other Exception (a character code page 936 lacks) and anything the
    // library raises (out of memory) is a plain failure.
    return ExitCode::Failure;
}
