// The answers file: one line per answer field, written at close and read back while the page is built.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "player/answers_file.h"

#include "checking/score.h"
#include "content/quiz.h"
#include "player/geometry.h"
#include "player/page_controls.h"

namespace {

// An empty field is stored as this, so every field keeps a line of its own.
const char* const EMPTY_FIELD = "*";

// Room for the longest path GetModuleFileNameA can report (a "\\?\" path); only the bare name is kept.
const DWORD LONG_PATH_SIZE = 32768;

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
        // A field the page never got (its building stopped early) reads as empty.
        HWND field = pageControl(page, answerIdOfField(k));
        if (field != nullptr) GetWindowTextA(field, text, TEXT_SLOT_SIZE);
        char line[TEXT_SLOT_SIZE + 2];
        const int length = wsprintfA(line, "%s\r\n", text[0] != '\0' ? text : EMPTY_FIELD);
        if (!writeAll(file, line, static_cast<DWORD>(length))) return false;
    }
    return true;
}

}  // namespace

void answersFileName(char* name, int size) {
    if (size <= 0) return;
    name[0] = '\0';
    // A path longer than MAX_PATH would come back cut, losing its extension; a long buffer gets the
    // whole path, and the bare name at its end is short again (a folder entry has at most 255).
    static char path[LONG_PATH_SIZE];
    const DWORD length = GetModuleFileNameA(nullptr, path, LONG_PATH_SIZE);
    if (length == 0 || length >= LONG_PATH_SIZE) return;
    path[length] = '\0';
    // No folder: the file lives in the current directory.
    const char* bare = path;
    for (const char* p = path + length; p > path; --p) {
        if (p[-1] == '\\') {
            bare = p;
            break;
        }
    }
    const int bareLength = lstrlenA(bare);
    // A name that does not fit is not cut: a cut name would be some other file's.
    if (bareLength < 3 || bareLength >= size) return;
    lstrcpyA(name, bare);
    // Whatever the extension, the last three characters become "txt". Names shorter than three
    // characters get no file at all rather than one that could be the program itself.
    memcpy(name + bareLength - 3, "txt", 3);
}

FILE* openSavedAnswers() {
    char name[MAX_PATH];
    answersFileName(name, MAX_PATH);
    if (name[0] == '\0') return nullptr;
    return fopen(name, "r");
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
    // Text mode already turns CR LF into LF; a carriage return left at the very end of the line (a
    // lone CR before the end of the file) is a line end too. One cut short keeps its characters.
    if (kept > 0 && kept == lineLength && text[kept - 1] == '\r') text[--kept] = '\0';
    if (strcmp(text, EMPTY_FIELD) == 0) text[0] = '\0';
}

void closeSavedAnswers(FILE* file) {
    if (file != nullptr) fclose(file);
}

// The new file is written beside the old one under a temporary name and takes the old one's place
// only once it is complete, so a close that fails part-way (disk full, the file locked by another
// program) leaves the answers of the previous close as they were. Nothing is reported either way.
void saveAnswers(HWND page) {
    if (g_quiz == nullptr) return;
    char name[MAX_PATH];
    answersFileName(name, MAX_PATH);
    if (name[0] == '\0') return;
    // A read-only answers file is never replaced (the file cannot be written in place either);
    // MoveFileEx would refuse on Windows but not under Wine, so this is checked first.
    const DWORD attributes = GetFileAttributesA(name);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) return;

    // A unique name in the current directory, the folder of the answers file, so the final move is a
    // rename on one volume. GetTempFileNameA creates the file, which reserves the name.
    char temporary[MAX_PATH];
    if (GetTempFileNameA(".", "trv", 0, temporary) == 0) return;
    HANDLE file = CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        DeleteFileA(temporary);
        return;
    }
    // The data reaches the disk before the rename, so a crash cannot leave an empty file in its place.
    bool complete = writeFields(file, page) && FlushFileBuffers(file);
    complete = CloseHandle(file) && complete;
    // The move fails while another program holds the answers file open; the old file then stays.
    if (!complete || !MoveFileExA(temporary, name, MOVEFILE_REPLACE_EXISTING)) DeleteFileA(temporary);
}
