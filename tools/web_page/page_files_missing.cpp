// The page's files of a trivo-make built where emscripten was not found: none, and the tool says so.
#include "tools/web_page/page_files.h"

const bool PAGE_FILES_BUILT = false;
const PageFile PAGE_WASM = {nullptr, 0};
const PageFile PAGE_SCRIPT = {nullptr, 0};
const PageFile PAGE_STYLE = {nullptr, 0};
const PageFile PAGE_TEMPLATE = {nullptr, 0};
const char* const PAGE_SCRIPT_SHA256 = "";
const char* const PAGE_STYLE_SHA256 = "";
