// Sounds and films are handed to their players as files: the resource is written to a temporary
// file in the current directory.
#include <windows.h>

#include "player/media.h"

#include "content/quiz_format.h"
#include "player/geometry.h"
#include "player/platform_win32.h"

namespace {

const char* const MEDIA_CAPTION = "Information";

struct MediaMessages {
    const char* notFound;
    const char* notLoaded;
};
const MediaMessages AUDIO_MESSAGES = {"Impossible de localiser le fichier audio.",
                                      "Impossible de charger le fichier audio."};
const MediaMessages VIDEO_MESSAGES = {"Impossible de localiser le fichier vid\xE9" "o.",
                                      "Impossible de charger le fichier vid\xE9" "o."};

}  // namespace

void mediaFileName(int resourceId, MediaFileType type, char* name) {
    if (type == MEDIA_AUDIO) {
        lstrcpyA(name, AUDIO_FILE_NAME);
    } else {
        wsprintfA(name, "trivo%d.avi", questionOfMediaResource(resourceId));
    }
}

int extractMediaFile(int resourceId, MediaFileType type) {
    const MediaMessages& messages = type == MEDIA_AUDIO ? AUDIO_MESSAGES : VIDEO_MESSAGES;
    HMODULE module = resourceModule();
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(resourceId), QUIZ_MEDIA_TYPE);
    if (found == nullptr) {
        MessageBoxA(nullptr, messages.notFound, MEDIA_CAPTION, MB_OK);
        return 0;
    }
    DWORD size = SizeofResource(module, found);
    HGLOBAL loaded = LoadResource(module, found);
    if (loaded == nullptr) {
        MessageBoxA(nullptr, messages.notLoaded, MEDIA_CAPTION, MB_OK);
        return 0;
    }
    const void* bytes = LockResource(loaded);
    if (bytes == nullptr) return 0;

    char name[16];
    mediaFileName(resourceId, type, name);
    // A file that cannot be written is not reported: the player then plays what is already there.
    HANDLE file = CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(file, bytes, size, &written, nullptr);
        CloseHandle(file);
    }
    FreeResource(loaded);
    return 1;
}
