#include "command_line.h"

#include "cli_error.h"

#include <charconv>
#include <cmath>

namespace {

std::string Quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

} // namespace

TCommandLine::TCommandLine(std::string_view command, std::span<const std::string> args,
                           std::span<const TOptionSpec> options)
    : Command(command) {
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        // "-" alone is the usual name of standard input.
        if (optionsEnded || arg == "-" || !arg.starts_with('-')) {
            PositionalArgs.emplace_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        const TOptionSpec* option = nullptr;
        std::optional<std::string_view> inlineValue;
        if (arg.starts_with("--")) {
            std::string_view name = arg.substr(2);
            if (const size_t equals = name.find('='); equals != std::string_view::npos) {
                inlineValue = name.substr(equals + 1);
                name = name.substr(0, equals);
            }
            for (const TOptionSpec& candidate : options) {
                if (candidate.Name == name) option = &candidate;
            }
        } else if (arg.size() == 2) {
            for (const TOptionSpec& candidate : options) {
                if (candidate.ShortName != '\0' && candidate.ShortName == arg[1]) option = &candidate;
            }
        }
        if (option == nullptr) Fail("Unknown option " + Quoted(arg) + ".");
        const std::string displayName = "--" + std::string(option->Name);
        if (!option->TakesValue) {
            if (inlineValue) Fail("The option " + Quoted(displayName) + " takes no value.");
            Given.push_back({option->Name, {}});
        } else if (inlineValue) {
            Given.push_back({option->Name, std::string(*inlineValue)});
        } else if (i + 1 < args.size()) {
            // The next argument is the value even if it starts with "-".
            Given.push_back({option->Name, args[++i]});
        } else {
            Fail("The option " + Quoted(displayName) + " needs a value.");
        }
    }
}

bool TCommandLine::Has(std::string_view name) const {
    for (const TGivenOption& option : Given) {
        if (option.Name == name) return true;
    }
    return false;
}

std::optional<std::string> TCommandLine::Value(std::string_view name) const {
    std::optional<std::string> value;
    for (const TGivenOption& option : Given) {
        if (option.Name == name) value = option.Value;
    }
    return value;
}

std::optional<int32_t> TCommandLine::Integer(std::string_view name, int32_t min,
                                             int32_t max) const {
    const std::optional<std::string> text = Value(name);
    if (!text) return std::nullopt;
    int32_t value = 0;
    const char* const end = text->data() + text->size();
    const auto [stop, error] = std::from_chars(text->data(), end, value);
    if (text->empty() || error != std::errc() || stop != end || value < min || value > max) {
        Fail("The option " + Quoted("--" + std::string(name)) + " needs a whole number from " +
             std::to_string(min) + " to " + std::to_string(max) + ", not " + Quoted(*text) + ".");
    }
    return value;
}

std::optional<double> TCommandLine::Real(std::string_view name) const {
    const std::optional<std::string> text = Value(name);
    if (!text) return std::nullopt;
    double value = 0;
    const char* const end = text->data() + text->size();
    const auto [stop, error] = std::from_chars(text->data(), end, value);
    if (text->empty() || error != std::errc() || stop != end || !std::isfinite(value)) {
        Fail("The option " + Quoted("--" + std::string(name)) + " needs a number, not " +
             Quoted(*text) + ".");
    }
    return value;
}

void TCommandLine::Fail(const std::string& message) const {
    throw CliError(ExitCode::Usage,
                   message + " See " + Quoted("trelvanic-cli " + std::string(Command) + " --help") +
                       ".");
}
