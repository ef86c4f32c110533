// trelvanic-cli: the document barcode record and the PDF417 engine from the
// command line. main dispatches to a subcommand and turns errors into exit
// codes; nothing else happens here.
#include "cli_error.h"
#include "command_table.h"
#include "output.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string ToolHelp() {
    std::string help = "Usage: trelvanic-cli COMMAND [OPTIONS]\n"
                       "       trelvanic-cli --help | --version\n\n"
                       "Commands:\n";
    for (const TCliCommand& command : CliCommands()) {
        help += "  " + std::string(command.Name) + std::string(10 - command.Name.size(), ' ') +
                std::string(command.Summary) + "\n";
    }
    help += "\nRun \"trelvanic-cli COMMAND --help\" for a command's options.\n"
            "Exit codes: 0 success, 1 input, output or conversion failure, 2 usage error,\n"
            "3 the text is too big for one symbol, 4 bad raw codewords.\n";
    return help;
}

void Run(const std::vector<std::string>& args) {
    if (args.empty()) {
        throw CliError(ExitCode::Usage, "No command given. See \"trelvanic-cli --help\".");
    }
    const std::string& name = args.front();
    if (name == "--help" || name == "-h") {
        WriteOutput({}, ToolHelp());
        return;
    }
    if (name == "--version") {
        WriteOutput({}, "trelvanic-cli " TRELVANIC_VERSION "\n");
        return;
    }
    for (const TCliCommand& command : CliCommands()) {
        if (command.Name == name) {
            command.Run(std::span(args).subspan(1));
            return;
        }
    }
    throw CliError(ExitCode::Usage,
                   "Unknown command \"" + name + "\". See \"trelvanic-cli --help\".");
}

} // namespace

int main(int argc, char* argv[]) {
    PrepareStandardStreams();
    try {
        Run(std::vector<std::string>(argv + 1, argv + argc));
        return static_cast<int>(ExitCode::Success);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "trelvanic-cli: %s\n", error.what());
        return static_cast<int>(ExitCodeOf(error));
    }
}
