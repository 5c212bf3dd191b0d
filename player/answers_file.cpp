// The answers file: one line per answer field, written at close and read back while the page is built.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "player/answers_file.h"

#include "content/quiz.h"
#include "player/ids.h"

namespace {

// An empty field is stored as this, so every field keeps a line of its own.
const char* const EMPTY_FIELD = "*";

}  // namespace

void answersFileName(char* name, int size) {
    if (size <= 0) return;
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length >= MAX_PATH) length = MAX_PATH - 1;
    path[length] = '\0';
    // No folder: the file lives in the current directory.
    const char* bare = path;
    for (const char* p = path + length; p > path; --p) {
        if (p[-1] == '\\') {
            bare = p;
            break;
        }
    }
    lstrcpynA(name, bare, size);
    int kept = lstrlenA(name);
    // Whatever the extension, the last three characters become "txt".
    if (kept >= 3) memcpy(name + kept - 3, "txt", 3);
}

FILE* openSavedAnswers() {
    char name[MAX_PATH];
    answersFileName(name, MAX_PATH);
    return fopen(name, "r");
}

void nextSavedAnswer(FILE* file, char* text) {
    text[0] = '\0';
    if (file == nullptr) return;
    if (fgets(text, TEXT_SLOT_SIZE, file) == nullptr) {
        text[0] = '\0';
        return;
    }
    size_t length = strlen(text);
    if (length > 0 && text[length - 1] == '\n') text[--length] = '\0';
    if (length > 0 && text[length - 1] == '\r') text[--length] = '\0';
    if (strcmp(text, EMPTY_FIELD) == 0) text[0] = '\0';
}

void closeSavedAnswers(FILE* file) {
    if (file != nullptr) fclose(file);
}

void saveAnswers(HWND page) {
    char name[MAX_PATH];
    answersFileName(name, MAX_PATH);
    HANDLE file = CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    // A file that cannot be created is not reported; the previous one, if any, stays.
    if (file == INVALID_HANDLE_VALUE) return;
    const int fieldCount = g_quiz->questionCount * g_quiz->slotsPerQuestion;
    for (int k = 1; k <= fieldCount; ++k) {
        char text[TEXT_SLOT_SIZE];
        text[0] = '\0';
        HWND field = GetDlgItem(page, ID_ANSWER_BASE + k);
        if (field != nullptr) GetWindowTextA(field, text, TEXT_SLOT_SIZE);
        char line[TEXT_SLOT_SIZE + 2];
        int length = wsprintfA(line, "%s\r\n", text[0] != '\0' ? text : EMPTY_FIELD);
        DWORD written = 0;
        WriteFile(file, line, static_cast<DWORD>(length), &written, nullptr);
    }
    CloseHandle(file);
}
