// Recognising the media a quiz carries by their first bytes, as the player's decoders would.
#pragma once
#include <cstddef>
#include <vector>

enum class MediaFormat { Unknown, Jpeg, Gif, Mp3, Avi };

// JPEG: FF D8 FF. GIF: "GIF87a" or "GIF89a". MP3: an ID3v2 tag ("ID3") or an MPEG audio frame
// sync (11 set bits) with a layer that is not the reserved value. AVI: "RIFF", a size, "AVI ".
MediaFormat mediaFormat(const std::vector<unsigned char>& bytes);
// The most bytes mediaFormat and mediaFormatName look at: a BMP's header size ends at byte 18.
constexpr std::size_t MEDIA_FORMAT_BYTES = 32;

// What kind of media a format holds, for telling an author how to convert a file.
enum class MediaKind { Picture, Sound, Film, Other };

struct MediaFormatName {
    const char* name;  // "a PNG picture", "a JPEG picture", in English (tr() translates it); null when not known
    MediaKind kind;
};

// What a file is, by its first bytes: the player's formats and the others authors most often have
// (PNG, WebP, BMP, TIFF, HEIC, WAV, Ogg, FLAC, AAC, M4A, MP4, QuickTime, Matroska, Windows Media,
// ...), so that a message can name it.
MediaFormatName mediaFormatName(const std::vector<unsigned char>& bytes);

// "jpg", "gif", "mp3", "avi", or "bin" for anything else.
const char* mediaExtension(MediaFormat format);
