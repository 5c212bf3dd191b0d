// Films for the web page: browsers play no AVI, so each film is converted to MP4 (H.264 and AAC) by
// ffmpeg, run as a program where the machine has it (Debian's ffmpeg; on Windows ffmpeg.exe on PATH).
#pragma once
#include <string>
#include <vector>

enum class FilmConversion {
    Converted,
    NoConverter,  // ffmpeg is not installed: the page links the film instead
    Failed,       // ffmpeg ran and gave no film: *why says what it said
};

// Converts one AVI film. The film and ffmpeg's output pass through a private temporary folder,
// removed afterwards.
FilmConversion convertFilm(const std::vector<unsigned char>& avi, std::vector<unsigned char>* mp4, std::string* why);
