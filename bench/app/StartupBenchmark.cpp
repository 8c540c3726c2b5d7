// Start-to-exit time of the program without a command URL: the splash slides in (five 10 ms
// ticks), the job finds nothing to do, Timer1 closes the form. Prints the median of N runs.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

int main(int argc, char** argv) {
    const std::string program = argc > 1 ? argv[1] : VELKARO_PROGRAM;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 20;
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);

    std::vector<double> milliseconds;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        pid_t pid = 0;
        char* args[] = {const_cast<char*>(program.c_str()), nullptr};
        if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, args, environ) != 0) {
            std::fprintf(stderr, "cannot start %s\n", program.c_str());
            return 1;
        }
        int status = 0;
        waitpid(pid, &status, 0);
        const auto end = std::chrono::steady_clock::now();
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            std::fprintf(stderr, "run %d ended with status %d\n", i, status);
            return 1;
        }
        milliseconds.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    std::sort(milliseconds.begin(), milliseconds.end());
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    std::printf(
        "start to exit without a command URL (%s, %d runs): median %.1f ms, min %.1f ms, max %.1f ms; "
        "peak RSS %.1f MB\n",
        std::getenv("QT_QPA_PLATFORM"), runs, milliseconds[milliseconds.size() / 2], milliseconds.front(),
        milliseconds.back(), usage.ru_maxrss / 1024.0);
    return 0;
}
