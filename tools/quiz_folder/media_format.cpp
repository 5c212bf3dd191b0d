// Media formats by their magic bytes.
#include "tools/quiz_folder/media_format.h"

#include "tools/support/translation.h"

#include <cstring>
#include <string>

namespace {

// magic may hold zero bytes: give it as std::string(bytes, length) then.
bool startsWith(const std::vector<unsigned char>& bytes, std::size_t offset, const std::string& magic) {
    return bytes.size() >= offset + magic.size() && std::memcmp(bytes.data() + offset, magic.data(), magic.size()) == 0;
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

MediaFormatName mediaFormatName(const std::vector<unsigned char>& bytes) {
    switch (mediaFormat(bytes)) {
        case MediaFormat::Jpeg: return {N_("a JPEG picture"), MediaKind::Picture};
        case MediaFormat::Gif: return {N_("a GIF picture"), MediaKind::Picture};
        case MediaFormat::Mp3: return {N_("an MP3 sound"), MediaKind::Sound};
        case MediaFormat::Avi: return {N_("an AVI film"), MediaKind::Film};
        default: break;
    }
    if (startsWith(bytes, 0, "\x89PNG\r\n\x1A\n")) return {N_("a PNG picture"), MediaKind::Picture};
    if (startsWith(bytes, 0, "RIFF") && startsWith(bytes, 8, "WEBP")) return {N_("a WebP picture"), MediaKind::Picture};
    // "BM" starts many texts too: a BMP also has one of the known header sizes at byte 14.
    if (startsWith(bytes, 0, "BM") && bytes.size() >= 18 && bytes[15] == 0 && bytes[16] == 0 && bytes[17] == 0 &&
        (bytes[14] == 12 || bytes[14] == 40 || bytes[14] == 56 || bytes[14] == 108 || bytes[14] == 124))
        return {N_("a BMP picture"), MediaKind::Picture};
    if (startsWith(bytes, 0, std::string("II*\x00", 4)) || startsWith(bytes, 0, std::string("MM\x00*", 4))) return {N_("a TIFF picture"), MediaKind::Picture};
    if (startsWith(bytes, 0, "8BPS")) return {N_("a Photoshop picture"), MediaKind::Picture};
    if (startsWith(bytes, 4, "ftyp")) {
        // An ISO media file: its brand says what it holds.
        for (const char* brand : {"heic", "heix", "mif1", "msf1"})
            if (startsWith(bytes, 8, brand)) return {N_("a HEIC picture"), MediaKind::Picture};
        if (startsWith(bytes, 8, "avif")) return {N_("an AVIF picture"), MediaKind::Picture};
        if (startsWith(bytes, 8, "M4A ")) return {N_("an M4A sound"), MediaKind::Sound};
        if (startsWith(bytes, 8, "qt  ")) return {N_("a QuickTime film"), MediaKind::Film};
        return {N_("an MP4 film"), MediaKind::Film};
    }
    if (startsWith(bytes, 0, "RIFF") && startsWith(bytes, 8, "WAVE")) return {N_("a WAV sound"), MediaKind::Sound};
    if (startsWith(bytes, 0, "FORM") && startsWith(bytes, 8, "AIF")) return {N_("an AIFF sound"), MediaKind::Sound};
    if (startsWith(bytes, 0, "OggS")) return {N_("an Ogg sound"), MediaKind::Sound};
    if (startsWith(bytes, 0, "fLaC")) return {N_("a FLAC sound"), MediaKind::Sound};
    if (startsWith(bytes, 0, "MThd")) return {N_("a MIDI tune"), MediaKind::Sound};
    // ADTS: the sync of an MPEG frame with the layer MP3 never uses.
    if (bytes.size() >= 2 && bytes[0] == 0xFF && (bytes[1] & 0xF6) == 0xF0) return {N_("an AAC sound"), MediaKind::Sound};
    if (startsWith(bytes, 0, "\x1A\x45\xDF\xA3")) return {N_("a Matroska or WebM film"), MediaKind::Film};
    if (startsWith(bytes, 0, "\x30\x26\xB2\x75")) return {N_("a Windows Media file"), MediaKind::Film};
    if (startsWith(bytes, 0, "FLV")) return {N_("a Flash film"), MediaKind::Film};
    if (startsWith(bytes, 0, std::string("\x00\x00\x01\xBA", 4))) return {N_("an MPEG film"), MediaKind::Film};
    if (startsWith(bytes, 0, "%PDF")) return {N_("a PDF document"), MediaKind::Other};
    return {nullptr, MediaKind::Other};
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
