#pragma once
// The splash window's progress bar (0..290), reachable from every routine that fills
// part of the start-up or of a profile load. It stops at its maximum.
namespace LoadingProgress {
constexpr int Maximum = 290;
void advance(int steps = 1);
void reset();
int value();
// The widget side registers a listener (the splash bar); none is needed for the logic.
void setListener(void (*fn)(int value));
}
