// Starts a program and times it until its first window is mapped (an X MapNotify, not polling);
// then reports its peak resident memory and the CPU it uses over an idle period.
//   mapwatch IDLE_SECONDS PROGRAM [ARGS...]
// Prints: map_ms=<ms> peak_rss_kb=<kB> idle_cpu_pct=<percent>
#include <X11/Xlib.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <sys/select.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

long peakRssKb(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return -1;
}

long cpuTicks(pid_t pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string all((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const std::size_t close = all.rfind(')');
    if (close == std::string::npos)
        return -1;
    // Fields after the command name: state is field 3; utime and stime are fields 14 and 15.
    const char *p = all.c_str() + close + 2;
    long utime = 0, stime = 0;
    for (int field = 3; field <= 15; ++field) {
        if (field == 14)
            utime = std::strtol(p, nullptr, 10);
        if (field == 15)
            stime = std::strtol(p, nullptr, 10);
        p = std::strchr(p, ' ');
        if (!p)
            break;
        ++p;
    }
    return utime + stime;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: mapwatch IDLE_SECONDS PROGRAM [ARGS...]\n");
        return 2;
    }
    const double idleSeconds = std::atof(argv[1]);
    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "mapwatch: no X display\n");
        return 2;
    }
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);

    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[2], argv + 2);
        _exit(127);
    }

    double mapMs = -1;
    const int fd = ConnectionNumber(display);
    while (mapMs < 0) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && !event.xmap.override_redirect) {
                mapMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
                break;
            }
        }
        if (mapMs >= 0)
            break;
        fd_set set;
        FD_ZERO(&set);
        FD_SET(fd, &set);
        timeval timeout{30, 0};
        if (select(fd + 1, &set, nullptr, nullptr, &timeout) <= 0) {
            std::fprintf(stderr, "mapwatch: no window within 30 s\n");
            kill(pid, SIGKILL);
            return 1;
        }
    }

    // Let the first paint finish, then measure memory and an idle stretch.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const long rss = peakRssKb(pid);
    const long ticksBefore = cpuTicks(pid);
    std::this_thread::sleep_for(std::chrono::duration<double>(idleSeconds));
    const long ticksAfter = cpuTicks(pid);
    const double cpu = idleSeconds > 0 ? 100.0 * double(ticksAfter - ticksBefore) / double(sysconf(_SC_CLK_TCK)) / idleSeconds : 0;

    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    XCloseDisplay(display);
    std::printf("map_ms=%.1f peak_rss_kb=%ld idle_cpu_pct=%.2f\n", mapMs, rss, cpu);
    return 0;
}
