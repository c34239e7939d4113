#pragma once

// Figures for the benchmark script: when the environment names a file in
// DESKMATE_FRAME_REPORT, the performance-counter time of the first presented
// frame, the count of presented frames and the time of writing are written
// there about twice a second ("first_frame_ms ...", "frames 1200",
// "now_ms ...", all in ms), with the count of fixed updates and the time
// spent in them ("updates 1200", "update_ms 36.5").
// Without the variable nothing is measured or written.
void NoteFramePresented();
// The splash has gone ("splash_closed_ms ..."); its first call counts.
void NoteSplashClosed();
// One fixed update took this long (ms).
void NoteUpdateTime(double ms);
// The clock the figures are taken with, in ms; 0 without the variable.
double FrameReportClockMs();
