// Process-wide state of the player's windows.
#include "player/window_state.h"

HINSTANCE g_instance = nullptr;
// Stays null until the page dialog exists; the main window's handlers check it.
HWND g_pageDialog = nullptr;

int g_pageWidth = 0;
int g_pageHeight = 0;
