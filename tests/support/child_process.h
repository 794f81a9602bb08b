// Child processes of the tests that run a program: started with a given environment and working
// directory, their stdout and stderr in one temporary file, stopped by pid; and polling.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

using namespace std::chrono_literals;

// A process started with a given environment and working directory; killed when dropped if
// still running. Its stdout and stderr go to temporary files; a new Start replaces it.
class ChildProcess {
public:
    ChildProcess() = default;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess();

    // environment: variables to set; an empty value removes the variable.
    bool Start(const std::vector<std::string>& argv, const std::map<std::string, std::string>& environment,
               const std::string& workingDirectory);
    // The wait status once it ended within the timeout.
    std::optional<int> WaitExit(std::chrono::milliseconds timeout);
    // The exit status once it ended within the timeout, 128 + the signal that ended it, or -1.
    int ExitCode(std::chrono::milliseconds timeout);
    bool Running();
    void Stop();  // SIGTERM, then SIGKILL if it does not end soon
    std::string Output() const { return Stdout() + Stderr(); }
    std::string Stdout() const;
    std::string Stderr() const;
    pid_t Pid() const { return pid_; }

private:
    pid_t pid_ = -1;
    std::optional<int> status_;
    std::string paths_[2];  // stdout, stderr
};

// Polls until the check holds or the time is up.
bool WaitFor(const std::function<bool()>& check, std::chrono::milliseconds timeout = 30s);
