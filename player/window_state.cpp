// Process-wide state of the player's windows.
#include "player/window_state.h"

HINSTANCE g_instance = nullptr;
// Stays null until the page dialog exists; the main window's handlers check it.
HWND g_pageDialog = nullptr;

int pageWidth = 0;
int pageHeight = 0;
int visibleWidth = 0;
int visibleHeight = 0;
