// Names that come from the browser: quiz folders and media files, each one name inside the
// workspace or a quiz's media/ folder, never a path that could lead elsewhere.
#pragma once
#include <string>

// Whether name is one plain name of a file or folder on every system: no separator, no "." or "..",
// no leading dot, no control character, nothing Windows refuses or reads as a device (":", "*",
// a trailing dot or space, CON, NUL, COM1 ...), at most 80 bytes.
bool isSafeName(const std::string& name);

// The name an uploaded file is kept under in media/: the last part of what the browser sent, with
// only ASCII letters, digits, "-", "_" and one "." before a lower-case extension kept; anything
// else becomes "-". Never empty ("fichier"), always a safe name.
std::string safeUploadName(const std::string& given);

// A URL's %XX escapes decoded; false when one is malformed or decodes to a NUL.
bool percentDecoded(const std::string& text, std::string* decoded);
