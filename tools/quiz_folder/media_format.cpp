// Media formats by their magic bytes.
#include "tools/quiz_folder/media_format.h"

#include <cstring>

namespace {

bool startsWith(const std::vector<unsigned char>& bytes, std::size_t offset, const char* magic) {
    const std::size_t length = std::strlen(magic);
    return bytes.size() >= offset + length && std::memcmp(bytes.data() + offset, magic, length) == 0;
}

}  // namespace

MediaFormat mediaFormat(const std::vector<unsigned char>& bytes) {
    if (bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF) {
        return MediaFormat::Jpeg;
    }
    if (startsWith(bytes, 0, "GIF87a") || startsWith(bytes, 0, "GIF89a")) return MediaFormat::Gif;
    if (startsWith(bytes, 0, "RIFF") && startsWith(bytes, 8, "AVI ")) return MediaFormat::Avi;
    if (startsWith(bytes, 0, "ID3")) return MediaFormat::Mp3;
    // Frame sync: 11 set bits, then a version that is not the reserved 01 and a layer that is not
    // the reserved 00 (AAC's ADTS headers use it). A JPEG's FF D8 fails the sync.
    if (bytes.size() >= 4 && bytes[0] == 0xFF && (bytes[1] & 0xE0) == 0xE0 && (bytes[1] & 0x18) != 0x08 &&
        (bytes[1] & 0x06) != 0) {
        return MediaFormat::Mp3;
    }
    return MediaFormat::Unknown;
}

const char* mediaExtension(MediaFormat format) {
    switch (format) {
        case MediaFormat::Jpeg: return "jpg";
        case MediaFormat::Gif: return "gif";
        case MediaFormat::Mp3: return "mp3";
        case MediaFormat::Avi: return "avi";
        default: return "bin";
    }
}
