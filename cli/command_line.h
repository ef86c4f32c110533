// Parsing of a subcommand's arguments: "--name VALUE", "--name=VALUE", bare
// switches, "--" to end the options, and everything else positional.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct TOptionSpec {
    std::string_view Name; // without the leading "--"
    bool TakesValue;
    char ShortName = '\0'; // "-h" for "--help", or none
};

class TCommandLine {
public:
    // Throws a usage error for an unknown option, a missing value or a value
    // given to a switch. `command` names the subcommand in messages.
    TCommandLine(std::string_view command, std::span<const std::string> args,
                 std::span<const TOptionSpec> options);

    bool Has(std::string_view name) const;
    // The value of the last occurrence, if the option was given.
    std::optional<std::string> Value(std::string_view name) const;
    const std::vector<std::string>& Positionals() const { return PositionalArgs; }

    // The value as a whole number in [min, max], or a usage error.
    std::optional<int32_t> Integer(std::string_view name, int32_t min, int32_t max) const;
    // The value as a finite real number, or a usage error.
    std::optional<double> Real(std::string_view name) const;

    // A usage error that points at this command's help.
    [[noreturn]] void Fail(const std::string& message) const;

private:
    struct TGivenOption {
        std::string_view Name;
        std::string Value;
    };
    std::string_view Command;
    std::vector<TGivenOption> Given;
    std::vector<std::string> PositionalArgs;
};
