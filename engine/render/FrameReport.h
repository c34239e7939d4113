#pragma once

// Figures for the benchmark script: when the environment names a file in
// DESKMATE_FRAME_REPORT, the performance-counter time of the first presented
// frame, the count of presented frames and the time of writing are written
// there about twice a second ("first_frame_ms ...", "frames 1200",
// "now_ms ...", all in ms).
// Without the variable nothing is measured or written.
void NoteFramePresented();
