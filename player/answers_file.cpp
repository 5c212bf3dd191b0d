// The answers file: one line per answer field, written at close and read back while the page is built.
// The file is named with the wide-character functions: the ANSI ones would turn a character of the
// program's name outside the code page into "?", and no file of that name can be made.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "player/answers_file.h"
#include "player/answers_file_testing.h"

#include "checking/score.h"
#include "content/quiz.h"
#include "player/geometry.h"
#include "player/page_controls.h"

namespace {

// An empty field is stored as this, so every field keeps a line of its own.
const char* const EMPTY_FIELD = "*";

// Room for the longest path GetModuleFileNameW can report (a "\\?\" path); only the bare name is kept.
const DWORD LONG_PATH_SIZE = 32768;

// A bare file name has at most 255 characters; a temporary name adds ".xxxxxxxx.tmp" to it.
const int NAME_SIZE = MAX_PATH;
const int TEMPORARY_NAME_SIZE = NAME_SIZE + 16;
const int TEMPORARY_ATTEMPTS = 16;

// An answers file larger than this is none the player wrote: it is never rewritten in place, since
// what it holds could not be kept aside to be put back.
const DWORD IN_PLACE_MAX_BYTES = 1024 * 1024;

// Writes all of text to file; false when any write fails or falls short (disk full).
bool writeAll(HANDLE file, const char* text, DWORD length) {
    DWORD written = 0;
    return WriteFile(file, text, length, &written, nullptr) && written == length;
}

// Writes one line per answer field into file; false at the first failed write.
bool writeFields(HANDLE file, HWND page) {
    const int fields = fieldCount(g_quiz);
    for (int k = 1; k <= fields; ++k) {
        char text[TEXT_SLOT_SIZE];
        text[0] = '\0';
        // A field the page could not create reads as empty.
        HWND field = pageControl(page, answerIdOfField(k));
        if (field != nullptr) GetWindowTextA(field, text, TEXT_SLOT_SIZE);
        char line[TEXT_SLOT_SIZE + 2];
        const int length = wsprintfA(line, "%s\r\n", text[0] != '\0' ? text : EMPTY_FIELD);
        if (!writeAll(file, line, static_cast<DWORD>(length))) return false;
    }
    return true;
}

// The running program's answers file name; empty when there is none.
void ownAnswersFileName(wchar_t* name, int size) {
    name[0] = L'\0';
    static wchar_t path[LONG_PATH_SIZE];
    const DWORD length = GetModuleFileNameW(nullptr, path, LONG_PATH_SIZE);
    if (length == 0 || length >= LONG_PATH_SIZE) return;
    path[length] = L'\0';
    answersFileNameOf(path, name, size);
}

// Creates a new file beside the answers file under a name no other file has (the answers file's
// name, a number and ".tmp"); an existing file or link of that name is never opened. Returns
// INVALID_HANDLE_VALUE when none can be made: a folder where only the answers file may be written,
// or a name too long for another beside it.
HANDLE createTemporary(const wchar_t* name, wchar_t* temporary) {
    static DWORD calls;
    const int length = lstrlenW(name);
    if (length + 14 >= TEMPORARY_NAME_SIZE) return INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < TEMPORARY_ATTEMPTS; ++attempt) {
        DWORD number = (GetTickCount() ^ (GetCurrentProcessId() << 16)) + ++calls * 2654435761u;
        lstrcpyW(temporary, name);
        temporary[length] = L'.';
        for (int i = 8; i >= 1; --i, number >>= 4) temporary[length + i] = L"0123456789abcdef"[number & 15];
        lstrcpyW(temporary + length + 9, L".tmp");
        HANDLE file = CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return file;
    }
    return INVALID_HANDLE_VALUE;
}

// Writes the answers over the file itself, for a folder where no temporary file can be made. What
// the file held is kept aside first and put back when the writing fails part-way.
void saveInPlace(HWND page, const wchar_t* name) {
    HANDLE file = CreateFileW(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD high = 0;
    const DWORD size = GetFileSize(file, &high);
    char* previous = nullptr;
    bool kept = high == 0 && size <= IN_PLACE_MAX_BYTES;
    if (kept && size > 0) {
        previous = static_cast<char*>(HeapAlloc(GetProcessHeap(), 0, size));
        DWORD read = 0;
        kept = previous != nullptr && ReadFile(file, previous, size, &read, nullptr) && read == size;
    }
    if (kept && !(SetFilePointer(file, 0, nullptr, FILE_BEGIN) == 0 && writeFields(file, page) &&
                  SetEndOfFile(file) && FlushFileBuffers(file))) {
        SetFilePointer(file, 0, nullptr, FILE_BEGIN);
        if (size > 0) writeAll(file, previous, size);
        SetEndOfFile(file);
    }
    if (previous != nullptr) HeapFree(GetProcessHeap(), 0, previous);
    CloseHandle(file);
}

}  // namespace

void answersFileNameOf(const wchar_t* modulePath, wchar_t* name, int size) {
    if (size <= 0) return;
    name[0] = L'\0';
    // No folder: the file lives in the current directory.
    const wchar_t* bare = modulePath;
    for (const wchar_t* p = modulePath; *p != L'\0'; ++p) {
        if (*p == L'\\') bare = p + 1;
    }
    const int bareLength = lstrlenW(bare);
    // A name that does not fit is not cut: a cut name would be some other file's. Names shorter
    // than three characters get no file at all rather than one that could be the program itself.
    if (bareLength < 3 || bareLength >= size) return;
    lstrcpyW(name, bare);
    // Whatever the extension, the last three characters become "txt".
    lstrcpyW(name + bareLength - 3, L"txt");
    // A program whose name already ends so would read its own bytes as answers and replace itself
    // at close: it has no answers file.
    if (lstrcmpiW(name, bare) == 0) name[0] = L'\0';
}

void answersFileName(char* name, int size) {
    if (size <= 0) return;
    name[0] = '\0';
    wchar_t wide[NAME_SIZE];
    ownAnswersFileName(wide, NAME_SIZE);
    if (wide[0] == L'\0') return;
    BOOL approximated = FALSE;
    const int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, -1, name, size, nullptr, &approximated);
    if (length == 0 || approximated) name[0] = '\0';
}

FILE* openSavedAnswersFrom(const wchar_t* name) {
    if (name == nullptr || name[0] == L'\0') return nullptr;
    // Binary: in text mode a byte 0x1A would end the reading there, and the next close would write
    // "*" over every answer after it. Line ends are taken off by nextSavedAnswer.
    return _wfopen(name, L"rb");
}

FILE* openSavedAnswers() {
    wchar_t name[NAME_SIZE];
    ownAnswersFileName(name, NAME_SIZE);
    return openSavedAnswersFrom(name);
}

void nextSavedAnswer(FILE* file, char* text) {
    text[0] = '\0';
    if (file == nullptr) return;
    // Read up to the line feed whatever the line's length, keeping the first 259 characters: with a
    // plain fgets into 260 bytes a line of exactly 259 would leave its line end behind, to be read as
    // the next field's line, and every later field would be one line off.
    int kept = 0;
    int lineLength = 0;
    int c;
    while ((c = getc(file)) != EOF && c != '\n') {
        if (kept < TEXT_SLOT_SIZE - 1) text[kept++] = static_cast<char>(c);
        ++lineLength;
    }
    text[kept] = '\0';
    // The carriage return before the line feed ends the line too, as does one at the very end of the
    // file. One kept from the middle of a line cut short is a character of it.
    if (kept > 0 && kept == lineLength && text[kept - 1] == '\r') text[--kept] = '\0';
    if (strcmp(text, EMPTY_FIELD) == 0) text[0] = '\0';
}

void closeSavedAnswers(FILE* file) {
    if (file != nullptr) fclose(file);
}

// The new file is written beside the old one under a temporary name and takes the old one's place
// only once it is complete, so a close that fails part-way (disk full, the file locked by another
// program) leaves the answers of the previous close as they were. Where no temporary file can be
// made, the file is written in place. Nothing is reported either way.
void saveAnswersTo(HWND page, const wchar_t* name) {
    if (g_quiz == nullptr || name == nullptr || name[0] == L'\0') return;
    // No fields: an empty file would only wipe the answers of the previous close.
    if (g_quiz->questionCount <= 0 || g_quiz->slotsPerQuestion <= 0) return;
    // A read-only answers file is never replaced (the file cannot be written in place either);
    // MoveFileEx would refuse on Windows but not under Wine, so this is checked first.
    const DWORD attributes = GetFileAttributesW(name);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) return;

    // In the folder of the answers file, so the final move is a rename on one volume.
    static wchar_t temporary[TEMPORARY_NAME_SIZE];
    HANDLE file = createTemporary(name, temporary);
    if (file == INVALID_HANDLE_VALUE) {
        saveInPlace(page, name);
        return;
    }
    // The data reaches the disk before the rename, so a crash cannot leave an empty file in its place.
    bool complete = writeFields(file, page) && FlushFileBuffers(file);
    complete = CloseHandle(file) && complete;
    // The move fails while another program holds the answers file open; the old file then stays.
    if (!complete || !MoveFileExW(temporary, name, MOVEFILE_REPLACE_EXISTING)) DeleteFileW(temporary);
}

void saveAnswers(HWND page) {
    wchar_t name[NAME_SIZE];
    ownAnswersFileName(name, NAME_SIZE);
    saveAnswersTo(page, name);
}
