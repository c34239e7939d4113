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
    double lastWrite = 0;
    long frames = 0;
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
    std::fprintf(file, "first_frame_ms %.1f\nframes %ld\nnow_ms %.1f\n", r.firstFrame, r.frames, now);
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
