// Question media: pictures decoded from resources and scaled to their box, sounds and films written
// to temporary files in the current directory for the platform's players.
#pragma once
#include <windows.h>

enum MediaFileType { MEDIA_AUDIO = 1, MEDIA_VIDEO = 2 };

// The picture resource (module, id, type) decoded and scaled to fit the box, aspect kept; null when
// the resource is missing or is not a picture. The caller owns the bitmap.
HBITMAP loadResourcePicture(HMODULE module, int resourceId, const char* type, int boxWidth, int boxHeight);

// A stand-alone bitmap of the JPEG or GIF picture in bytes; null when it cannot be decoded.
HBITMAP decodePicture(const void* bytes, DWORD length);

// A new bitmap of the source scaled by the smaller of the two box ratios, sizes truncated.
HBITMAP scaleBitmapToBox(HBITMAP bitmap, int boxWidth, int boxHeight);

// Writes resource IMG resourceId to "trivo.mp3" (audio) or "trivo<q>.avi" (video, q = id - 400) in
// the current directory. 1 when the resource was found and loaded, 0 otherwise (after a message for
// a missing or unloadable resource).
int extractMediaFile(int resourceId, MediaFileType type);

// The file name extractMediaFile writes for a resource; name holds at least 16 bytes.
void mediaFileName(int resourceId, MediaFileType type, char* name);

// The temporary sound file.
extern const char* const AUDIO_FILE_NAME;

// Closes the sound window, if any, and deletes "trivo.mp3".
void stopAudio();

// The page's WM_COMMAND for play and stop buttons (wParam is the whole command parameter).
void onMediaCommand(HWND page, WPARAM command);

// Creates question q's film player in its host (control 9900 + q of the page). Where the player
// cannot be created the host stays empty and its buttons do nothing; the page goes on.
void setUpVideo(HWND page, int q);

// Film play button of question q: writes its film again and plays it.
void playFilm(int q);
// Any film stop button: stops every film.
void stopAllFilms();

// Video quizzes only: before the main window, "atl.dll" and COM; false when "atl.dll" is missing.
bool loadVideoSupport();
// After the message loop: deletes the films, destroys the main window, ends COM, frees "atl.dll".
void unloadVideoSupport(HWND mainWindow);
