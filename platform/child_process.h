#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace doxel {

// How a child process ended.
struct ChildProcessResult {
    enum class Ending { Exited, Signalled, NotStarted };
    Ending ending = Ending::NotStarted;
    int status = 0;       // Exited: the exit status; Signalled: the signal number
    std::string problem;  // NotStarted: why, for a person to read
};

struct ChildProcessOptions {
    // arguments[0] is the program: a path, or a name looked up in PATH.
    std::vector<std::string> arguments;
    // The child's working folder; empty keeps ours.
    std::string workingFolder;
    // Each line the child prints on standard output or standard error, as
    // soon as it is complete, without its line end. A line that never ends
    // is passed when it reaches 64 KiB and when the child closes its output.
    std::function<void(const std::string& line)> onLine;
    // Called every `tickInterval` while the child runs, whether it prints or
    // not; the place to keep a window alive.
    std::function<void()> onTick;
    std::chrono::milliseconds tickInterval{50};
};

// Runs a program to its end on the calling thread, with standard input from
// /dev/null, and returns how it ended. Never through a shell. When a
// callback throws, the child is killed and waited for before the exception
// goes on.
ChildProcessResult runChildProcess(const ChildProcessOptions& options);

// The full path of the executable `name`: itself when it holds a "/",
// otherwise the first match in PATH. Empty when there is none.
std::string findProgram(const std::string& name);

}  // namespace doxel
