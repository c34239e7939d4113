#include "engine/render/FrameReport.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

struct FrameReport {
    bool enabled = false;
    std::string path;
    double firstFrame = -1; // counter time in ms
    double splashClosed = -1;
    double lastWrite = 0;
    long frames = 0;
    long updates = 0;
    double updateMs = 0;
};

// The performance counter in ms. Under Wine it counts from the machine's
// start like the system's monotonic clock, so a script can set it against
// the moment it started the program.
double NowMs() {
    LARGE_INTEGER counter, frequency;
    if (!QueryPerformanceCounter(&counter) || !QueryPerformanceFrequency(&frequency) || frequency.QuadPart == 0)
        return 0;
    return double(counter.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

FrameReport& Report() {
    static FrameReport report = [] {
        FrameReport r;
        const char* path = std::getenv("DESKMATE_FRAME_REPORT");
        if (!path || !*path)
            return r;
        r.path = path;
        r.enabled = true;
        return r;
    }();
    return report;
}

void Write(const FrameReport& r, double now) {
    FILE* file = std::fopen(r.path.c_str(), "w");
    if (!file)
        return;
    std::fprintf(file, "first_frame_ms %.1f\nframes %ld\nnow_ms %.1f\nupdates %ld\nupdate_ms %.3f\n", r.firstFrame,
                 r.frames, now, r.updates, r.updateMs);
    if (r.splashClosed >= 0)
        std::fprintf(file, "splash_closed_ms %.1f\n", r.splashClosed);
    std::fclose(file);
}

} // namespace

void NoteFramePresented() {
    FrameReport& r = Report();
    if (!r.enabled)
        return;
    const double now = NowMs();
    ++r.frames;
    if (r.firstFrame < 0) {
        r.firstFrame = now;
        Write(r, now);
        r.lastWrite = now;
    } else if (now - r.lastWrite >= 500.0) {
        Write(r, now);
        r.lastWrite = now;
    }
}

void NoteUpdateTime(double ms) {
    FrameReport& r = Report();
    if (!r.enabled)
        return;
    ++r.updates;
    r.updateMs += ms;
}

double FrameReportClockMs() { return Report().enabled ? NowMs() : 0.0; }

void NoteSplashClosed() {
    FrameReport& r = Report();
    if (r.enabled && r.splashClosed < 0)
        r.splashClosed = NowMs();
}
