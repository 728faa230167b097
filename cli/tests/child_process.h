// A program run by a test as a child process: its own environment, its
// standard output and error into files of the test's folder (or its
// standard output into a pipe the test reads).  The destructor kills it
// (SIGKILL) when it still runs, so no child outlives its test.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace tb58mon::test {

class ChildProcess {
public:
    // environment: NAME=VALUE entries over the test's own; an entry
    // "NAME=" with nothing after removes NAME.
    ChildProcess(const std::vector<std::string>& args, const std::vector<std::string>& environment,
                 const std::string& out_file, const std::string& err_file, int out_fd = -1) {
        std::vector<std::string> env;
        for (char** entry = environ; *entry != nullptr; ++entry) {
            const std::string text = *entry;
            bool replaced = false;
            for (const std::string& mine : environment) {
                if (text.substr(0, text.find('=') + 1) == mine.substr(0, mine.find('=') + 1)) replaced = true;
            }
            if (!replaced) env.push_back(text);
        }
        for (const std::string& mine : environment) {
            if (mine.back() != '=') env.push_back(mine);
        }
        std::vector<char*> argv;
        for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        std::vector<char*> envp;
        for (std::string& entry : env) envp.push_back(entry.data());
        envp.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        if (out_fd >= 0) posix_spawn_file_actions_adddup2(&actions, out_fd, STDOUT_FILENO);
        else posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
    }
    ~ChildProcess() {
        if (pid_ > 0 && !exited_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return pid_ > 0; }
    pid_t pid() const { return pid_; }
    void Signal(int signal) const {
        if (pid_ > 0 && !exited_) ::kill(pid_, signal);
    }

    // The exit code, or -1 when it has not ended within the time (or ended
    // by a signal).
    int Wait(std::chrono::milliseconds most) {
        const auto end = std::chrono::steady_clock::now() + most;
        while (pid_ > 0 && !exited_) {
            int status = 0;
            if (::waitpid(pid_, &status, WNOHANG) == pid_) {
                exited_ = true;
                code_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
                break;
            }
            if (std::chrono::steady_clock::now() > end) return -1;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return code_;
    }

private:
    pid_t pid_ = -1;
    bool exited_ = false;
    int code_ = -1;
};

}  // namespace tb58mon::test
