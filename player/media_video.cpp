// Films of a Video quiz: one Windows Media Player control per question, hosted through ATL.
#include <windows.h>
#include <initguid.h>  // defines the player's GUIDs, in this file only
#include <wmp.h>

#include "content/quiz.h"
#include "player/geometry.h"
#include "player/media.h"
#include "player/page_controls.h"

namespace {

typedef HRESULT(WINAPI* AttachControlFunction)(IUnknown* control, HWND host, IUnknown** container);

HMODULE g_atlLibrary = nullptr;
AttachControlFunction g_attachControl = nullptr;

// Indexed by q - 1; entries of questions never laid out stay null.
HWND g_videoHosts[MAX_QUESTIONS];
IWMPPlayer* g_videoPlayers[MAX_QUESTIONS];
IWMPControls* g_videoControls[MAX_QUESTIONS];

// The player takes its URL as a wide string, converted in the ANSI code page.
BSTR filmUrl(int q) {
    char name[16];
    mediaFileName(mediaResourceId(q), MEDIA_VIDEO, name);
    WCHAR wide[16];
    MultiByteToWideChar(CP_ACP, 0, name, -1, wide, 16);
    return SysAllocString(wide);
}

bool validQuestion(int q) { return q >= 1 && q <= MAX_QUESTIONS; }

}  // namespace

bool loadVideoSupport() {
    g_atlLibrary = LoadLibraryA("atl.dll");
    if (g_atlLibrary == nullptr) return false;
    g_attachControl = reinterpret_cast<AttachControlFunction>(
        reinterpret_cast<void*>(GetProcAddress(g_atlLibrary, "AtlAxAttachControl")));
    CoInitialize(nullptr);
    return true;
}

void unloadVideoSupport(HWND mainWindow) {
    // All 90 names, whatever the number of questions: a film of an earlier run may be left over.
    for (int q = 1; q <= MAX_QUESTIONS; ++q) {
        char name[16];
        mediaFileName(mediaResourceId(q), MEDIA_VIDEO, name);
        DeleteFileA(name);
    }
    DestroyWindow(mainWindow);
    for (int k = 0; k < MAX_QUESTIONS; ++k) {
        if (g_videoControls[k] != nullptr) g_videoControls[k]->Release();
        if (g_videoPlayers[k] != nullptr) g_videoPlayers[k]->Release();
        g_videoControls[k] = nullptr;
        g_videoPlayers[k] = nullptr;
        g_videoHosts[k] = nullptr;
    }
    CoUninitialize();
    if (g_atlLibrary != nullptr) FreeLibrary(g_atlLibrary);
    g_atlLibrary = nullptr;
    g_attachControl = nullptr;
}

void setUpVideo(HWND page, int q) {
    if (!validQuestion(q)) return;
    int k = q - 1;
    g_videoHosts[k] = pageControl(page, videoHostId(q));
    // A library without the attach entry cannot host a player: the host stays empty, as when the
    // player cannot be created.
    if (g_attachControl == nullptr) return;
    IWMPPlayer* player = nullptr;
    if (CoCreateInstance(CLSID_WindowsMediaPlayer, nullptr,
                         CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER, IID_IWMPPlayer,
                         reinterpret_cast<void**>(&player)) != S_OK ||
        player == nullptr)
        return;
    g_videoPlayers[k] = player;
    g_attachControl(player, g_videoHosts[k], nullptr);
    player->get_controls(&g_videoControls[k]);
    BSTR none = SysAllocString(L"none");
    player->put_uiMode(none);
    SysFreeString(none);

    if (extractMediaFile(mediaResourceId(q), MEDIA_VIDEO) == 1) {
        BSTR url = filmUrl(q);
        player->put_URL(url);
        SysFreeString(url);
        // The film waits for its play button.
        if (g_videoControls[k] != nullptr) g_videoControls[k]->stop();
        char name[16];
        mediaFileName(mediaResourceId(q), MEDIA_VIDEO, name);
        DeleteFileA(name);
    }
}

void playFilm(int q) {
    if (!validQuestion(q)) return;
    // The set-up deleted the file: it is written again for each press.
    if (extractMediaFile(mediaResourceId(q), MEDIA_VIDEO) == 1 && g_videoControls[q - 1] != nullptr)
        g_videoControls[q - 1]->play();
}

void stopAllFilms() {
    for (int k = 0; k < MAX_QUESTIONS; ++k)
        if (g_videoControls[k] != nullptr) g_videoControls[k]->stop();
}
