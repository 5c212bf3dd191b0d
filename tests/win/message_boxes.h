// Catches the program's modal message boxes in tests: a watcher thread reads each box's caption and
// text and presses OK, so code that shows a box can run unattended.
#pragma once
#include <string>
#include <vector>

struct CaughtBox {
    std::string caption;
    std::string text;
};

// Starts watching; every box shown until stopCatchingMessageBoxes() is recorded and dismissed.
void startCatchingMessageBoxes();
// Stops watching and returns the boxes seen, in order.
std::vector<CaughtBox> stopCatchingMessageBoxes();
