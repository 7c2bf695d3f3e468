#pragma once

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

// A child process with its standard output and error read through pipes.
class Process {
public:
    // Starts program in directory cwd; env entries with an empty value are
    // removed from the environment, the others set.
    // With stdoutClosed the child starts with descriptor 1 closed.
    Process(const std::string& program, const std::vector<std::string>& args, const std::string& cwd,
            const std::map<std::string, std::string>& env, bool stdoutClosed = false);
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    // The next line of standard output, without its line end; nothing when
    // no whole line arrives in time or the output closes.
    std::optional<std::string> readLine(std::chrono::milliseconds timeout = std::chrono::seconds(10));

    // Everything written to standard output so far that no readLine took.
    std::string pendingOutput();

    // The exit status once the process has ended; nothing if it has not in
    // time. A process killed by a signal gives 128 + the signal.
    std::optional<int> wait(std::chrono::milliseconds timeout = std::chrono::seconds(10));

    // Standard error, read up to now.
    std::string errors();

    // Closes our end of the standard output pipe: the reader has gone.
    void closeOutput();

    // Sends a signal to the process.
    void signal(int number);

    int pid() const { return child; }

private:
    void pump(int timeoutMs);

    int child = -1;
    int outFd = -1;
    int errFd = -1;
    std::string out;
    std::string err;
    std::optional<int> status;
};
