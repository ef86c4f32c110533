#include "command_table.h"

#include <array>

std::span<const TCliCommand> CliCommands() {
    static constexpr std::array commands{
        TCliCommand{"record", "print the document barcode record or the information text",
                    RunRecordCommand},
        TCliCommand{"encode",
                    "encode bytes or codewords as a PDF417 symbol (info, PNG, SVG or PBM)",
                    RunEncodeCommand},
        TCliCommand{"document", "write the Word document that the window's export writes (.docx)",
                    RunDocumentCommand},
    };
    return commands;
}
