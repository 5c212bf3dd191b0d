// The starter folders of 'trivo-make new'. Their answers are in capitals without accents, so none
// of them draws a warning or a note, and each comment says what the line above or below it does, in French
// like the quiz itself (the bytes are UTF-8, spelled as escapes).
#include "tools/quiz_folder/starter.h"

#include <cstdint>
#include <string>

#include "tools/quiz_folder/quiz_content.h"
#include "tools/quiz_folder/quiz_dump.h"
#include "tools/quiz_folder/starter_media.h"
#include "tools/support/little_endian.h"

namespace {

const char* const HEADER =
    "# Un quiz Trivo : ce fichier et ses m\xC3\xA9" "dias. V\xC3\xA9rifiez-le, essayez-le, puis fabriquez-le :\n"
    "#   trivo-make check DOSSIER\n"
    "#   trivo-make play DOSSIER\n"
    "#   trivo-make build DOSSIER -o mon-quiz.exe\n"
    "# Textes en UTF-8, gard\xC3\xA9s en page de code Windows 1252 : accents oui, emoji et chinois non.\n"
    "# Un texte tient en 259 octets au plus, sans jamais le caract\xC3\xA8re \"|\".\n"
    "\n"
    "# Ce que montre chaque question : \"text\" (une ligne de texte), \"picture\" (une image JPEG, GIF,\n"
    "# PNG ou BMP), \"audio\" (un son MP3 avec des boutons lecture et arr\xC3\xAAt) ou \"video\" (un film AVI).\n";

const char* const SLOTS_AND_CAPTIONS =
    "\n"
    "# Champs de r\xC3\xA9ponse par question : 1 ou 2. Avec 2, chaque question a aussi son answer2, et\n"
    "# captions donne le nom des deux champs.\n";

const char* const REVEAL_COMMENT =
    "\n"
    "# Ce que r\xC3\xA9v\xC3\xA8le une question r\xC3\xA9solue (quiz en images seulement) : \"none\" (rien), \"picture\"\n"
    "# (son answer_picture remplace l'image de la question) ou \"comment\" (sa ligne comment).\n";

const char* const BACKGROUND =
    "\n"
    "# La couleur de la page, \"#RRGGBB\".\n"
    "background = \"#FFF8E7\"\n"
    "\n"
    "# Codes de r\xC3\xA9" "compense, un par question : le premier pour un score de 1, le deuxi\xC3\xA8me pour 2...\n";

const char* const QUESTIONS =
    "\n"
    "# Une table [[questions]] par question, 90 au plus, dans l'ordre de la page. Le programme\n"
    "# n'ignore la casse que de a \xC3\xA0 z : une lettre accentu\xC3\xA9" "e doit \xC3\xAAtre tap\xC3\xA9" "e telle qu'\xC3\xA9" "crite ici.\n"
    "# \xC3\x89" "crivez-la en minuscule, comme les claviers la tapent (\"\xC3\xA9vreux\"). Lignes facultatives :\n"
    "#   answer2 = \"...\"          la deuxi\xC3\xA8me r\xC3\xA9ponse, avec slots = 2\n"
    "#   comment = \"...\"          affich\xC3\xA9 une fois la question r\xC3\xA9solue, avec reveal = \"comment\"\n"
    "#   answer_picture = \"...\"   affich\xC3\xA9" "e une fois la question r\xC3\xA9solue, avec reveal = \"picture\"\n";

struct StarterQuestion {
    const char* text;  // shown in a text quiz only: null for the other kinds
    const char* answer;
};

struct Starter {
    const char* title;
    const char* description;
    const char* reveal;
    StarterQuestion questions[3];
};

const Starter STARTERS[] = {
    {"Mon quiz",
     "R\xC3\xA9pondez \xC3\xA0 chaque question, puis Tab pour passer \xC3\xA0 la suivante.",
     "none",
     {{"Quelle est la capitale de l'Italie ?", "ROME"},
      {"Combien de c\xC3\xB4t\xC3\xA9s a un hexagone ?", "6"},
      {"Quel animal est appel\xC3\xA9 le roi de la savane ?", "LION"}}},
    {"Mon quiz en images",
     "Reconnaissez chaque couleur, puis Tab pour passer \xC3\xA0 la suivante.",
     "picture",
     {{nullptr, "ROUGE"},
      {nullptr, "VERT"},
      {nullptr, "BLEU"}}},
    {"Mon quiz sonore",
     "\xC3\x89"
     "coutez chaque note avec le bouton de lecture, puis \xC3\xA9"
     "crivez son nom.",
     "none",
     {{nullptr, "LA"},
      {nullptr, "DO"},
      {nullptr, "MI"}}},
    {"Mon quiz vid\xC3\xA9o",
     "Regardez chaque film, puis \xC3\xA9"
     "crivez la couleur de son fond.",
     "none",
     {{nullptr, "ROUGE"},
      {nullptr, "VERT"},
      {nullptr, "BLEU"}}},
};

const unsigned char FILM_COLOURS[3][3] = {{0xD6, 0x28, 0x28}, {0x2A, 0x9D, 0x3A}, {0x1D, 0x4E, 0xD8}};
const char* const NOTES[3] = {"la.mp3", "do.mp3", "mi.mp3"};

std::string starterExtension(QuizKind kind) {
    return kind == QuizKind::Audio ? "mp3" : kind == QuizKind::Video ? "avi" : "gif";
}

// What the first question's media line says of its file.
const char* mediaComment(QuizKind kind) {
    switch (kind) {
        case QuizKind::Audio: return "le son de la question, MP3";
        case QuizKind::Video: return "le film de la question, AVI";
        default: return "l'image de la question, JPEG, GIF, PNG ou BMP";
    }
}

// One key of a question, with a comment on the first question's line.
void addKey(std::string* text, const char* key, const std::string& value, bool first, const std::string& comment) {
    *text += std::string(key) + " = " + tomlString(value) + (first && !comment.empty() ? "   # " + comment : "") + "\n";
}

QuizDraft starterDraft(QuizKind kind) {
    const Starter& starter = STARTERS[static_cast<int>(kind)];
    QuizDraft draft;
    draft.kind = kind;
    draft.title = starter.title;
    draft.description = starter.description;
    draft.reveal = starter.reveal;
    draft.codes = {"BRONZE", "ARGENT", "OR"};
    for (int q = 1; q <= 3; ++q) {
        const StarterQuestion& question = starter.questions[q - 1];
        const std::string number = std::to_string(q);
        DraftQuestion drafted;
        if (question.text) drafted.text = question.text;
        drafted.answer = question.answer;
        if (kind != QuizKind::Text) drafted.media = "media/q" + number + "." + starterExtension(kind);
        if (kind == QuizKind::Picture) drafted.answerPicture = "media/a" + number + ".gif";
        draft.questions.push_back(drafted);
    }
    return draft;
}

void addMedia(std::vector<FolderFile>* files, const std::string& path, const char* name) {
    const StarterMedia* media = starterMedia(name);
    if (media)
        files->push_back(
            FolderFile{path, std::vector<unsigned char>(media->bytes, media->bytes + media->size)});
}

void appendFourCc(std::vector<unsigned char>* bytes, const char* code) {
    for (int i = 0; i < 4; ++i) bytes->push_back(static_cast<unsigned char>(code[i]));
}

// Starts a RIFF chunk or list; returns where its size goes, filled in by endChunk.
std::size_t beginChunk(std::vector<unsigned char>* bytes, const char* id, const char* listType) {
    appendFourCc(bytes, id);
    const std::size_t sizeAt = bytes->size();
    append32(bytes, 0);
    if (listType) appendFourCc(bytes, listType);
    return sizeAt;
}

void endChunk(std::vector<unsigned char>* bytes, std::size_t sizeAt) {
    put32(bytes, sizeAt, static_cast<uint32_t>(bytes->size() - sizeAt - 4));
}

}  // namespace

std::vector<unsigned char> starterFilm(unsigned char red, unsigned char green, unsigned char blue) {
    const uint32_t width = 32, height = 24, frames = 4, square = 8;
    const uint32_t frameSize = width * 3 * height;  // rows of 96 bytes need no padding
    std::vector<unsigned char> avi;
    const std::size_t riff = beginChunk(&avi, "RIFF", "AVI ");
    const std::size_t hdrl = beginChunk(&avi, "LIST", "hdrl");
    const std::size_t avih = beginChunk(&avi, "avih", nullptr);
    append32(&avi, 500000);         // microseconds per frame
    append32(&avi, frameSize * 2);  // bytes per second
    append32(&avi, 0);              // padding granularity
    append32(&avi, 0x10);           // AVIF_HASINDEX
    append32(&avi, frames);
    append32(&avi, 0);          // initial frames
    append32(&avi, 1);          // streams
    append32(&avi, frameSize);  // suggested buffer size
    append32(&avi, width);
    append32(&avi, height);
    for (int i = 0; i < 4; ++i) append32(&avi, 0);
    endChunk(&avi, avih);
    const std::size_t strl = beginChunk(&avi, "LIST", "strl");
    const std::size_t strh = beginChunk(&avi, "strh", nullptr);
    appendFourCc(&avi, "vids");
    appendFourCc(&avi, "DIB ");
    append32(&avi, 0);  // flags
    append16(&avi, 0);  // priority
    append16(&avi, 0);  // language
    append32(&avi, 0);  // initial frames
    append32(&avi, 1);  // scale
    append32(&avi, 2);  // rate: 2 frames per second
    append32(&avi, 0);  // start
    append32(&avi, frames);
    append32(&avi, frameSize);
    append32(&avi, 0xFFFFFFFF);  // quality: default
    append32(&avi, 0);           // sample size: varies
    append16(&avi, 0);
    append16(&avi, 0);
    append16(&avi, static_cast<uint16_t>(width));
    append16(&avi, static_cast<uint16_t>(height));
    endChunk(&avi, strh);
    const std::size_t strf = beginChunk(&avi, "strf", nullptr);  // BITMAPINFOHEADER
    append32(&avi, 40);
    append32(&avi, width);
    append32(&avi, height);
    append16(&avi, 1);   // planes
    append16(&avi, 24);  // bits per pixel
    append32(&avi, 0);   // BI_RGB
    append32(&avi, frameSize);
    for (int i = 0; i < 4; ++i) append32(&avi, 0);
    endChunk(&avi, strf);
    endChunk(&avi, strl);
    endChunk(&avi, hdrl);
    const std::size_t movi = beginChunk(&avi, "LIST", "movi");
    const std::size_t moviData = movi + 4;  // index offsets count from the list's "movi"
    std::vector<uint32_t> offsets;
    for (uint32_t f = 0; f < frames; ++f) {
        offsets.push_back(static_cast<uint32_t>(avi.size() - moviData));
        const std::size_t chunk = beginChunk(&avi, "00db", nullptr);
        const uint32_t left = f * (width - square) / (frames - 1), top = (height - square) / 2;
        for (uint32_t y = 0; y < height; ++y) {
            for (uint32_t x = 0; x < width; ++x) {
                const bool inSquare = x >= left && x < left + square && y >= top && y < top + square;
                avi.push_back(inSquare ? 0xFF : blue);  // DIB pixels are blue, green, red
                avi.push_back(inSquare ? 0xFF : green);
                avi.push_back(inSquare ? 0xFF : red);
            }
        }
        endChunk(&avi, chunk);
    }
    endChunk(&avi, movi);
    const std::size_t idx1 = beginChunk(&avi, "idx1", nullptr);
    for (uint32_t offset : offsets) {
        appendFourCc(&avi, "00db");
        append32(&avi, 0x10);  // AVIIF_KEYFRAME
        append32(&avi, offset);
        append32(&avi, frameSize);
    }
    endChunk(&avi, idx1);
    endChunk(&avi, riff);
    return avi;
}

std::string draftToml(const QuizDraft& draft) {
    std::string text = HEADER;
    text += "kind = " + tomlString(kindName(draft.kind)) + "\n";
    text += "\n# Le titre est aussi celui de la fen\xC3\xAAtre ; l'auteur s'affiche apr\xC3\xA8s \"Par :\".\n";
    text += "title = " + tomlString(draft.title) + "\n";
    text += "author = \"Votre nom\"\n";
    text += "description = " + tomlString(draft.description) + "\n";
    text += SLOTS_AND_CAPTIONS;
    text += "slots = " + std::to_string(draft.slots) + "\ncaptions = [\"\", \"\"]\n";
    text += REVEAL_COMMENT;
    text += "reveal = " + tomlString(draft.reveal) + "\n";
    text += BACKGROUND;
    // A long list one code a line, as spreadsheets of questions give.
    const bool oneLine = draft.codes.size() <= 3;
    text += "codes = [";
    for (std::size_t k = 0; k < draft.codes.size(); ++k)
        text += (oneLine ? (k == 0 ? "" : ", ") : "\n    ") + tomlString(draft.codes[k]) + (oneLine ? "" : ",");
    text += oneLine ? "]\n" : "\n]\n";
    text += QUESTIONS;
    for (std::size_t i = 0; i < draft.questions.size(); ++i) {
        const DraftQuestion& question = draft.questions[i];
        const bool first = i == 0;
        text += "\n[[questions]]\n";
        // A text quiz needs one; in the others, check says it is never shown.
        if (draft.kind == QuizKind::Text || !question.text.empty())
            addKey(&text, "text", question.text, first, "affich\xC3\xA9 sur la page");
        addKey(&text, "answer", question.answer, first, "la r\xC3\xA9ponse attendue");
        if (draft.slots == 2) addKey(&text, "answer2", question.answer2, first, "");
        if (!question.media.empty())
            addKey(&text, "media", question.media, first, std::string(mediaComment(draft.kind)) + ", dans ce dossier");
        if (!question.answerPicture.empty()) addKey(&text, "answer_picture", question.answerPicture, false, "");
        if (!question.comment.empty()) addKey(&text, "comment", question.comment, false, "");
    }
    return text;
}

std::vector<FolderFile> starterFiles(QuizKind kind) {
    const std::string text = draftToml(starterDraft(kind));
    std::vector<FolderFile> files;
    files.push_back(FolderFile{"quiz.toml", std::vector<unsigned char>(text.begin(), text.end())});
    for (int q = 1; q <= 3; ++q) {
        const std::string number = std::to_string(q);
        const std::string media = "media/q" + number + "." + starterExtension(kind);
        if (kind == QuizKind::Picture) {
            addMedia(&files, media, ("q" + number + ".gif").c_str());
            addMedia(&files, "media/a" + number + ".gif", ("a" + number + ".gif").c_str());
        } else if (kind == QuizKind::Audio) {
            addMedia(&files, media, NOTES[q - 1]);
        } else if (kind == QuizKind::Video) {
            const unsigned char* colour = FILM_COLOURS[q - 1];
            files.push_back(FolderFile{media, starterFilm(colour[0], colour[1], colour[2])});
        }
    }
    return files;
}
