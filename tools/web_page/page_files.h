// The files of the quiz web page that trivo-make carries inside itself, made from web/ when the tool
// is built: the WebAssembly module (emscripten), the script, the style sheet and the page template.
#pragma once
#include <cstddef>

struct PageFile {
    const unsigned char* bytes;
    std::size_t size;
};

// False when this trivo-make was built without emscripten: it then has no files and writes no page.
extern const bool PAGE_FILES_BUILT;
extern const PageFile PAGE_WASM;
extern const PageFile PAGE_SCRIPT;
extern const PageFile PAGE_STYLE;
extern const PageFile PAGE_TEMPLATE;
// SHA-256 of the script and of the style sheet, in hexadecimal: the page's policy allows these only.
extern const char* const PAGE_SCRIPT_SHA256;
extern const char* const PAGE_STYLE_SHA256;
