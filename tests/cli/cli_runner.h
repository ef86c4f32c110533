// Runs the built trelvanic-cli as a user would: arguments (any bytes), bytes
// on standard input, and its exit code, standard output and standard error
// back. Input and outputs go through files, so no pipe can fill and stall.
#pragma once

#include <QTemporaryDir>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern char** environ;

namespace trelvanic::test {

struct CliResult {
    int ExitCode = -1; // -1 when the tool did not end normally
    std::string Out;
    std::string Err;
};

inline std::string ReadWholeFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// `stdoutPath` sends standard output to that file (e.g. /dev/full) instead.
inline CliResult RunCli(const std::vector<std::string>& args, const std::string& input = {},
                        const std::string& stdoutPath = {}) {
    CliResult result;
    QTemporaryDir dir;
    const std::string in = dir.filePath("in").toStdString();
    const std::string out = stdoutPath.empty() ? dir.filePath("out").toStdString() : stdoutPath;
    const std::string err = dir.filePath("err").toStdString();
    std::ofstream(in, std::ios::binary) << input;

    std::vector<std::string> argStrings = {TRELVANIC_CLI};
    argStrings.insert(argStrings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : argStrings)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        result.Err = "could not start " TRELVANIC_CLI;
        return result;
    }
    int status = 0;
    waitpid(pid, &status, 0);
    result.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (stdoutPath.empty()) result.Out = ReadWholeFile(out);
    result.Err = ReadWholeFile(err);
    return result;
}

} // namespace trelvanic::test
