#pragma once

// Where the show's TV stands on screen and which window points lie on its
// panel. Show units are the indicator scene's: 100 a window pixel, x to the
// right and y up from the window's centre.
struct TvShowPlacement {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

// Full-screen layouts the render manager can report.
constexpr int TV_FULL_SCREEN_LAYOUT_COUNT = 3;

// The TV node's translation for a window of width × height pixels, or for a
// full-screen layout index when fullScreen (an index outside the table takes
// layout 0).
TvShowPlacement PlaceTvShow(bool fullScreen, int layoutIndex, int width, int height);

// Window pixels to show units relative to the TV node.
float ToShowX(float px, int width, float tvX);
float ToShowY(float py, int height, float tvY);

// True for a window point on the TV's panel: 320 × 240 pixels to the left of
// and above the TV node's point.
bool IsOnTvPanel(int x, int y, int width, int height, const TvShowPlacement& tv);

// The uniform scale that shows an item of bounding radius r at the show's
// size; an item without a usable radius (zero or unbounded) keeps its own.
float ItemShowScale(float radius);
