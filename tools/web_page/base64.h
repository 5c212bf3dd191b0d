// Base64 (RFC 4648, with padding), as the page carries its module and media.
#pragma once
#include <cstddef>
#include <string>

void appendBase64(const unsigned char* bytes, std::size_t size, std::string* out);
// The bytes of a hexadecimal text (two digits a byte), as base64; empty when it is not one.
std::string base64OfHex(const std::string& hex);
