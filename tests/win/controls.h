// What the Windows tests read back from real controls and files: places, texts, classes, children,
// bitmap sizes and file contents.
#pragma once
#include <windows.h>

#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include "player/geometry.h"

// A control's place in its parent's client area is a Box of the page geometry.
inline std::ostream& operator<<(std::ostream& out, const Box& b) {
    return out << "(" << b.x << ", " << b.y << ", " << b.width << ", " << b.height << ")";
}

inline Box boxOf(HWND parent, HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

inline std::string textOf(HWND control) {
    char text[1024];
    text[0] = '\0';
    GetWindowTextA(control, text, sizeof text);
    return text;
}

inline std::string classOf(HWND control) {
    char name[64];
    name[0] = '\0';
    GetClassNameA(control, name, sizeof name);
    return name;
}

// Children in creation order: each new child goes to the bottom of its siblings' Z order.
inline std::vector<HWND> childWindows(HWND parent) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

inline SIZE bitmapSize(HGDIOBJ bitmap) {
    BITMAP info{};
    GetObjectA(bitmap, sizeof info, &info);
    return {info.bmWidth, info.bmHeight};
}

// A file's bytes; empty when it cannot be read.
inline std::string fileBytes(const char* name) {
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline bool fileExists(const char* name) { return GetFileAttributesA(name) != INVALID_FILE_ATTRIBUTES; }
