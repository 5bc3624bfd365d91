#pragma once
// Runs wirelark-cli from a test: the arguments quoted for the shell, standard output and
// standard error caught in files of the test's folder.

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "test_files.h"

namespace wirelark::testing {

struct CommandRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

inline std::string shellQuoted(const std::string& s) {
    std::string q = "'";
    for (const char c : s) {
        if (c == '\'')
            q += "'\\''";
        else
            q += c;
    }
    return q + "'";
}

inline std::string commandLine(const std::vector<std::string>& args) {
    std::string command = shellQuoted(WIRELARK_CLI);
    for (const std::string& a : args)
        command += " " + shellQuoted(a);
    return command;
}

// Runs the command with its standard output sent to `stdoutTarget` (a file of the folder when
// empty); standard error and the exit code are caught in `folder`.
inline CommandRun runCli(const std::vector<std::string>& args, const std::filesystem::path& folder,
                         const std::string& stdoutTarget = "") {
    const std::filesystem::path out = folder / "stdout";
    const std::filesystem::path err = folder / "stderr";
    const std::string command = commandLine(args) + " >" +
                                shellQuoted(stdoutTarget.empty() ? out.string() : stdoutTarget) +
                                " 2>" + shellQuoted(err.string());
    const int status = std::system(command.c_str());
    CommandRun r;
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.out = stdoutTarget.empty() ? readBytes(out) : std::string();
    r.err = readBytes(err);
    std::error_code ec;
    std::filesystem::remove(out, ec);
    std::filesystem::remove(err, ec);
    return r;
}

// Runs the command with its standard output into a pipe whose reader leaves at once.
inline CommandRun runCliIntoClosedPipe(const std::vector<std::string>& args,
                                       const std::filesystem::path& folder) {
    const std::filesystem::path err = folder / "stderr";
    const std::filesystem::path code = folder / "status";
    const std::string command = "(" + commandLine(args) + " 2>" + shellQuoted(err.string()) +
                                "; echo $? >" + shellQuoted(code.string()) + ") | true";
    (void)std::system(command.c_str());
    CommandRun r;
    r.exitCode = std::atoi(readBytes(code).c_str());
    r.err = readBytes(err);
    std::error_code ec;
    std::filesystem::remove(err, ec);
    std::filesystem::remove(code, ec);
    return r;
}

}  // namespace wirelark::testing
