/* Times a desktop program's start: from fork to its first top-level window
 * being mapped and viewable, polling the window manager's client list every
 * millisecond. Prints "<milliseconds> <resident set in KiB> <CPU milliseconds>"
 * and ends the program again. The CPU time is what the program itself used
 * until then; it varies much less than the wall time on a busy machine.
 *
 * usage: startup_poll <timeout-ms> <program> [arguments...]
 * Needs a running window manager that keeps _NET_CLIENT_LIST (openbox). */
#define _POSIX_C_SOURCE 200809L
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double now_ms(void) {
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

static unsigned long clients(Display* d, Window** out) {
    Atom list = XInternAtom(d, "_NET_CLIENT_LIST", False), type;
    int format;
    unsigned long n = 0, after;
    unsigned char* data = NULL;
    if (XGetWindowProperty(d, DefaultRootWindow(d), list, 0, 65536, False, XA_WINDOW, &type,
                           &format, &n, &after, &data) != Success ||
        !data)
        n = 0;
    *out = (Window*)data;
    return n;
}

static long rss_kib(pid_t pid) {
    char path[64], line[256];
    long kib = -1;
    snprintf(path, sizeof path, "/proc/%d/status", (int)pid);
    FILE* f = fopen(path, "r");
    if (!f) return -1;
    while (fgets(line, sizeof line, f))
        if (strncmp(line, "VmRSS:", 6) == 0) kib = strtol(line + 6, NULL, 10);
    fclose(f);
    return kib;
}

/* The process's own CPU time in milliseconds, from the scheduler's account
 * (precise to the microsecond, unlike the clock ticks of /proc/PID/stat). */
static double cpu_ms(pid_t pid) {
    char path[64], line[256];
    double ms = -1;
    snprintf(path, sizeof path, "/proc/%d/sched", (int)pid);
    FILE* f = fopen(path, "r");
    if (!f) return -1;
    while (fgets(line, sizeof line, f)) {
        const char* colon = strchr(line, ':');
        if (strncmp(line, "se.sum_exec_runtime", 19) == 0 && colon) ms = atof(colon + 1);
    }
    fclose(f);
    return ms;
}

int main(int argc, char** argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: %s <timeout-ms> <program> [arguments...]\n", argv[0]);
        return 2;
    }
    const double timeout = atof(argv[1]);
    Display* d = XOpenDisplay(NULL);
    if (!d) {
        fprintf(stderr, "cannot open display\n");
        return 2;
    }
    Window* before = NULL;
    const unsigned long nBefore = clients(d, &before);

    const double start = now_ms();
    const pid_t pid = fork();
    if (pid == 0) {
        FILE* null = fopen("/dev/null", "w");
        if (null) {
            dup2(fileno(null), 1);
            dup2(fileno(null), 2);
        }
        execvp(argv[2], argv + 2);
        _exit(127);
    }
    double found = -1;
    long rss = -1;
    double cpu = -1;
    while (found < 0 && now_ms() - start < timeout) {
        Window* now = NULL;
        const unsigned long n = clients(d, &now);
        for (unsigned long i = 0; i < n && found < 0; ++i) {
            int old = 0;
            for (unsigned long j = 0; j < nBefore; ++j) old |= before[j] == now[i];
            XWindowAttributes a;
            if (!old && XGetWindowAttributes(d, now[i], &a) && a.map_state == IsViewable) {
                found = now_ms() - start;
                rss = rss_kib(pid);
                cpu = cpu_ms(pid);
            }
        }
        if (now) XFree(now);
        if (found < 0) {
            const struct timespec ms = {0, 1000000};
            nanosleep(&ms, NULL);
        }
    }
    kill(pid, SIGTERM);
    waitpid(pid, NULL, 0);
    if (before) XFree(before);
    XCloseDisplay(d);
    if (found < 0) {
        fprintf(stderr, "no window within %.0f ms\n", timeout);
        return 1;
    }
    printf("%.1f %ld %.2f\n", found, rss, cpu);
    return 0;
}
