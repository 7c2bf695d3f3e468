#include "process.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <poll.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

using Clock = std::chrono::steady_clock;

Process::Process(const std::string& program, const std::vector<std::string>& args, const std::string& cwd,
                 const std::map<std::string, std::string>& env, bool stdoutClosed)
{
    int outPipe[2], errPipe[2];
    if (pipe(outPipe) != 0 || pipe(errPipe) != 0) throw std::runtime_error("pipe failed");
    child = fork();
    if (child < 0) throw std::runtime_error("fork failed");
    if (child == 0) {
        if (stdoutClosed) close(STDOUT_FILENO);
        else dup2(outPipe[1], STDOUT_FILENO);
        dup2(errPipe[1], STDERR_FILENO);
        close(outPipe[0]);
        close(errPipe[0]);
        close(outPipe[1]);
        close(errPipe[1]);
        for (const auto& [name, value] : env) {
            if (value.empty()) unsetenv(name.c_str());
            else setenv(name.c_str(), value.c_str(), 1);
        }
        if (chdir(cwd.c_str()) != 0) _exit(126);
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    close(outPipe[1]);
    close(errPipe[1]);
    outFd = outPipe[0];
    errFd = errPipe[0];
}

Process::~Process()
{
    // Asked first, so that a server can remove its lock files.
    if (!status) {
        kill(child, SIGTERM);
        if (!wait(std::chrono::seconds(3))) {
            kill(child, SIGKILL);
            waitpid(child, nullptr, 0);
        }
    }
    if (outFd >= 0) close(outFd);
    if (errFd >= 0) close(errFd);
}

// Reads whatever the pipes hold, waiting at most timeoutMs for something.
// A pipe that reaches its end is closed; poll skips it from then on.
void Process::pump(int timeoutMs)
{
    pollfd fds[2] = {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}};
    if (poll(fds, 2, timeoutMs) <= 0) return;
    char buffer[4096];
    for (int i = 0; i < 2; ++i) {
        if (!(fds[i].revents & (POLLIN | POLLHUP))) continue;
        int& fd = i == 0 ? outFd : errFd;
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n > 0) {
            (i == 0 ? out : err).append(buffer, static_cast<std::size_t>(n));
        } else if (n == 0) {
            close(fd);
            fd = -1;
        }
    }
}

std::optional<std::string> Process::readLine(std::chrono::milliseconds timeout)
{
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        const auto end = out.find('\n');
        if (end != std::string::npos) {
            std::string line = out.substr(0, end);
            out.erase(0, end + 1);
            return line;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) return std::nullopt;
        pump(static_cast<int>(std::min<long long>(left.count(), 50)));
    }
}

std::string Process::pendingOutput()
{
    pump(0);
    return out;
}

std::optional<int> Process::wait(std::chrono::milliseconds timeout)
{
    const auto deadline = Clock::now() + timeout;
    while (!status) {
        int raw = 0;
        const pid_t r = waitpid(child, &raw, WNOHANG);
        if (r == child) {
            status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
            break;
        }
        if (Clock::now() >= deadline) return std::nullopt;
        pump(20);
    }
    pump(0);
    return status;
}

std::string Process::errors()
{
    pump(0);
    return err;
}

void Process::closeOutput()
{
    if (outFd >= 0) close(outFd);
    outFd = -1;
}

void Process::signal(int number) { kill(child, number); }
