// The page's parts of a trivo-make built where emscripten was not found: none, and the tool says so.
#include "tools/web_page/page_parts.h"

const bool PAGE_PARTS_BUILT = false;
const PagePart PAGE_WASM = {nullptr, 0};
const PagePart PAGE_SCRIPT = {nullptr, 0};
const PagePart PAGE_STYLE = {nullptr, 0};
const PagePart PAGE_TEMPLATE = {nullptr, 0};
const char* const PAGE_SCRIPT_SHA256 = "";
const char* const PAGE_STYLE_SHA256 = "";
