// The subcommands of trelvanic-cli. A subcommand is one file with one Run
// function, registered in the table in command_table.cpp.
#pragma once

#include <span>
#include <string>
#include <string_view>

struct TCliCommand {
    std::string_view Name;
    std::string_view Summary; // one line for the tool's --help
    // Runs the subcommand on the arguments after its name; errors are thrown
    // (CliError, Exception) and turned into exit codes by main.
    void (*Run)(std::span<const std::string> args);
};

std::span<const TCliCommand> CliCommands();

void RunRecordCommand(std::span<const std::string> args);
void RunEncodeCommand(std::span<const std::string> args);
void RunDocumentCommand(std::span<const std::string> args);
