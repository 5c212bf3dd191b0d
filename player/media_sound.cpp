// Sounds of an Audio quiz, played in one hidden MCI window, and the page's play and stop buttons.
#include <windows.h>
#include <vfw.h>

#include "content/quiz.h"
#include "player/geometry.h"
#include "player/media.h"
#include "player/window_state.h"

const char* const AUDIO_FILE_NAME = "trivo.mp3";

namespace {

// The MCI window of the sound being played; at most one sound exists at a time.
HWND g_audioWindow = nullptr;

const UINT MCI_COMMAND_PLAY = 0x0806;
const UINT MCI_COMMAND_STOP = 0x0808;

void playSound(HWND page, int q) {
    stopAudio();
    if (extractMediaFile(mediaResourceId(q), MEDIA_AUDIO) == 0) return;
    // A child of the page that is never shown: the player sees no MCI controls.
    g_audioWindow = MCIWndCreateA(page, g_instance, WS_CHILD | MCIWNDF_NOMENU, AUDIO_FILE_NAME);
    if (g_audioWindow == nullptr) return;
    SendMessageA(g_audioWindow, MCI_COMMAND_PLAY, 0, 0);
    // Some MCI implementations (Wine's) show the window when it opens or plays its file: hide it again.
    ShowWindow(g_audioWindow, SW_HIDE);
}

}  // namespace

void stopAudio() {
    if (g_audioWindow == nullptr) return;
    SendMessageA(g_audioWindow, MCI_COMMAND_STOP, 0, 0);
    SendMessageA(g_audioWindow, WM_CLOSE, 0, 0);
    g_audioWindow = nullptr;
    DeleteFileA(AUDIO_FILE_NAME);
}

void onMediaCommand(HWND page, WPARAM command) {
    if (g_quiz == nullptr) return;
    // A button click carries notification code 0, so the parameter is the button's identifier.
    if (command > 0xFFFF) return;
    const int id = static_cast<int>(command);
    const int playing = questionOfPlayButton(id);
    const int stopping = questionOfStopButton(id);
    const bool play = playing >= 1 && playing <= MAX_QUESTIONS;
    const bool stop = stopping >= 1 && stopping <= MAX_QUESTIONS;
    if (!play && !stop) return;
    const int q = play ? playing : stopping;
    if (g_quiz->kind == QuizKind::Audio) {
        if (play) {
            playSound(page, q);
        } else {
            // Any stop button stops the current sound, whichever question it belongs to.
            stopAudio();
        }
    } else if (g_quiz->kind == QuizKind::Video) {
        if (play) {
            playFilm(q);
        } else {
            stopAllFilms();
        }
    }
}
