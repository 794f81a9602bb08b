// Child processes and polling for the tests that run programs.
#include "tests/support/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <thread>

// Polls until the check holds or the time is up.
bool WaitFor(const std::function<bool()>& check, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    for (;; std::this_thread::sleep_for(20ms)) {
        if (check()) return true;
        if (std::chrono::steady_clock::now() >= end) return false;
    }
}

ChildProcess::~ChildProcess() {
    Stop();
    for (const std::string& path : paths_) unlink(path.c_str());
}

// The program runs through env(1), which sets and removes the variables and changes the folder.
bool ChildProcess::Start(const std::vector<std::string>& argv, const std::map<std::string, std::string>& environment,
                         const std::string& workingDirectory) {
    Stop();
    int outputs[2];
    for (int i = 0; i < 2; ++i) {
        unlink(paths_[i].c_str());
        char path[] = "/tmp/showcase-test-output-XXXXXX";
        if ((outputs[i] = mkstemp(path)) < 0) return false;
        paths_[i] = path;
    }
    std::vector<std::string> words{"/usr/bin/env", "--chdir=" + workingDirectory};
    for (const auto& [name, value] : environment)  // env takes its options (-u) before the variables
        value.empty() ? words.insert(words.begin() + 1, {"-u", name}) : words.insert(words.end(), name + "=" + value);
    words.insert(words.end(), argv.begin(), argv.end());
    std::vector<char*> pointers;
    for (std::string& word : words) pointers.push_back(word.data());
    pointers.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);  // nothing outlives a crashed or killed test
        // The program gets the signals' default actions, as from a terminal, whatever this
        // test process inherited (a shell's background job ignores SIGINT).
        for (const int caught : {SIGINT, SIGTERM, SIGHUP}) signal(caught, SIG_DFL);
        dup2(open("/dev/null", O_RDONLY), STDIN_FILENO);
        dup2(outputs[0], STDOUT_FILENO);
        dup2(outputs[1], STDERR_FILENO);
        execv(pointers[0], pointers.data());
        _exit(127);
    }
    close(outputs[0]);
    close(outputs[1]);
    pid_ = pid;
    status_.reset();
    return pid > 0;
}

std::optional<int> ChildProcess::WaitExit(std::chrono::milliseconds timeout) {
    int status = 0;
    pid_t done = 0;
    if (!status_ && pid_ > 0 && WaitFor([&] { return (done = waitpid(pid_, &status, WNOHANG)) != 0; }, timeout) &&
        done == pid_)
        status_ = status;
    return status_;
}

int ChildProcess::ExitCode(std::chrono::milliseconds timeout) {
    const std::optional<int> status = WaitExit(timeout);
    return !status ? -1 : WIFEXITED(*status) ? WEXITSTATUS(*status) : 128 + WTERMSIG(*status);
}

bool ChildProcess::Running() { return pid_ > 0 && !WaitExit(0ms); }

void ChildProcess::Stop() {
    if (!Running()) return;
    kill(pid_, SIGTERM);
    if (WaitExit(3s)) return;
    kill(pid_, SIGKILL);
    WaitExit(3s);
}

static std::string Read(const std::string& path) {
    std::ifstream file(path);
    return {std::istreambuf_iterator<char>(file), {}};
}
std::string ChildProcess::Stdout() const { return Read(paths_[0]); }
std::string ChildProcess::Stderr() const { return Read(paths_[1]); }
