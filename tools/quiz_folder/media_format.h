// Recognising the media a quiz carries by their first bytes, as the player's decoders would.
#pragma once
#include <cstddef>
#include <vector>

enum class MediaFormat { Unknown, Jpeg, Gif, Mp3, Avi };

// JPEG: FF D8 FF. GIF: "GIF87a" or "GIF89a". MP3: an ID3v2 tag ("ID3") or an MPEG audio frame
// sync (11 set bits) with a layer that is not the reserved value. AVI: "RIFF", a size, "AVI ".
MediaFormat mediaFormat(const std::vector<unsigned char>& bytes);
// The most bytes mediaFormat looks at: an AVI's "AVI " ends at byte 12.
constexpr std::size_t MEDIA_FORMAT_BYTES = 12;

// "jpg", "gif", "mp3", "avi", or "bin" for anything else.
const char* mediaExtension(MediaFormat format);
