// Reading a spreadsheet of questions, and the quiz folder made of it.
#include "tools/quiz_folder/question_table.h"

#include "content/quiz_format.h"
#include "tools/quiz_folder/media_check.h"
#include "tools/quiz_folder/quiz_check.h"
#include "tools/quiz_folder/starter.h"
#include "tools/support/cp1252.h"
#include "tools/support/translation.h"
#include "tools/support/text.h"

namespace {

enum class Column { Unused, Text, Answer, Answer2, Media, Comment };

// A header's name as compared: in lower case, without accents, spaces, hyphens or underscores.
std::string headerKey(const std::string& utf8) {
    std::string key;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        if (c == 0xC3 && i + 1 < utf8.size()) {
            // The accented e and a of French, small (0xA0 to 0xAB) or capital (0x80 to 0x8B).
            const unsigned char next = static_cast<unsigned char>(utf8[i + 1]) | 0x20;
            if (next >= 0xA8 && next <= 0xAB) {
                key.push_back('e');
                ++i;
                continue;
            }
            if (next == 0xA0 || next == 0xA2) {
                key.push_back('a');
                ++i;
                continue;
            }
        }
        if (c == ' ' || c == '-' || c == '_') continue;
        key.push_back(static_cast<char>(c >= 'A' && c <= 'Z' ? c + 0x20 : c));
    }
    return key;
}

Column columnOf(const std::string& header) {
    static const struct {
        const char* key;
        Column column;
    } NAMES[] = {
        {"texte", Column::Text},        {"text", Column::Text},       {"question", Column::Text},
        {"reponse", Column::Answer},    {"answer", Column::Answer},   {"reponse1", Column::Answer},
        {"answer1", Column::Answer},    {"reponse2", Column::Answer2}, {"answer2", Column::Answer2},
        {"media", Column::Media},       {"medias", Column::Media},    {"commentaire", Column::Comment},
        {"comment", Column::Comment},
    };
    const std::string key = headerKey(header);
    for (const auto& name : NAMES) {
        if (key == name.key) return name.column;
    }
    return Column::Unused;
}

std::string trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

struct CsvRow {
    int line;
    std::vector<std::string> cells;
};

// The separator of the header line: the most frequent of ";", "," and tab outside quotes, ";" first
// on a tie, as a French spreadsheet writes; "," for a line of one column.
char separatorOf(const std::string& text) {
    int semicolons = 0, commas = 0, tabs = 0;
    bool quoted = false;
    for (char c : text) {
        if (c == '"') quoted = !quoted;
        if (quoted) continue;
        if (c == '\n') break;
        semicolons += c == ';';
        commas += c == ',';
        tabs += c == '\t';
    }
    if (semicolons >= commas && semicolons >= tabs && semicolons > 0) return ';';
    return tabs > commas ? '\t' : ',';
}

// Cells as RFC 4180 has them: a quoted cell may hold the separator, line breaks and "" for a quote.
bool csvRows(const std::string& text, char separator, std::vector<CsvRow>* rows, std::string* error) {
    int line = 1;
    CsvRow row{1, {std::string()}};
    bool quoted = false, afterQuote = false;
    int quoteLine = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        std::string& cell = row.cells.back();
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                cell.push_back('"');
                ++i;
            } else if (c == '"') {
                quoted = false;
                afterQuote = true;
            } else {
                if (c == '\n') ++line;
                if (c != '\r') cell.push_back(c);
            }
        } else if (c == '"' && trimmed(cell).empty() && !afterQuote) {
            cell.clear();
            quoted = true;
            quoteLine = line;
        } else if (c == separator) {
            row.cells.emplace_back();
            afterQuote = false;
        } else if (c == '\n') {
            rows->push_back(row);
            row = CsvRow{++line, {std::string()}};
            afterQuote = false;
        } else if (c != '\r' && !afterQuote) {
            cell.push_back(c);
        }
    }
    if (quoted) {
        *error = fillIn(tr("line {1}: a cell opens a quote that is never closed"), quoteLine);
        return false;
    }
    if (row.cells.size() > 1 || !row.cells[0].empty()) rows->push_back(row);
    return true;
}

// The text in UTF-8: as it is, or from code page 1252, which spreadsheets on Windows save in.
bool utf8Table(const std::string& bytes, std::string* text, std::string* error) {
    const std::string withoutMark = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? bytes.substr(3) : bytes;
    std::size_t offset = 0;
    uint32_t codePoint = 0;
    std::string ignored;
    while (offset < withoutMark.size() && decodeUtf8Char(withoutMark, &offset, &codePoint, &ignored)) {
    }
    if (offset >= withoutMark.size()) {
        *text = withoutMark;
        return true;
    }
    const TextConversion converted = cp1252ToUtf8(withoutMark);
    if (!converted.ok) {
        *error = fillIn(tr("neither UTF-8 nor code page 1252 ({1}): save it as \"CSV UTF-8\""), converted.error);
        return false;
    }
    *text = converted.text;
    return true;
}

std::string lowerExtension(const std::string& path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || path.find('/', dot) != std::string::npos) return std::string();
    std::string extension = path.substr(dot + 1);
    for (char& c : extension) c = c >= 'A' && c <= 'Z' ? static_cast<char>(c + 0x20) : c;
    return extension;
}

// The media files copied so far: where each came from and where it goes in the folder.
struct MediaCopies {
    std::filesystem::path folder;  // links resolved; empty when it cannot be
    std::vector<std::filesystem::path> sources;
    std::vector<FolderFile> files;
    int64_t total = 0;
};

// The path a question names its media by in the new folder: media/NAME for a file copied there
// (media/SUB/NAME when another file took that name), the path as written for one that is not.
std::string copiedMedia(const std::string& written, MediaCopies* copies) {
    const std::string path = forwardSlashes(trimmed(written));
    std::filesystem::path resolved;
    std::string error;
    if (copies->folder.empty() || !resolvedPath(copies->folder / nativePath(path), &resolved, &error) ||
        !isInsideFolder(copies->folder, resolved))
        return path;
    for (std::size_t i = 0; i < copies->sources.size(); ++i) {
        if (copies->sources[i] == resolved) return copies->files[i].relativePath;
    }
    std::vector<unsigned char> bytes;
    int64_t size = 0;
    if (!readRegularFile(resolved, path, MEDIA_MAX_BYTES, MEDIA_MAX_BYTES, &bytes, &size, &error) ||
        copies->total + size > MEDIA_TOTAL_MAX_BYTES)
        return path;
    copies->total += size;
    std::string target = "media/" + utf8Path(resolved.filename());
    for (const FolderFile& file : copies->files) {
        if (file.relativePath == target) target = "media/" + forwardSlashes(utf8Path(resolved.lexically_relative(copies->folder)));
    }
    copies->sources.push_back(resolved);
    copies->files.push_back(FolderFile{target, std::move(bytes)});
    return target;
}

}  // namespace

bool readQuestionTable(const std::string& bytes, QuestionTable* table, std::string* error) {
    *table = QuestionTable();
    std::string text;
    std::vector<CsvRow> rows;
    if (!utf8Table(bytes, &text, error) || !csvRows(text, separatorOf(text), &rows, error)) return false;
    if (rows.empty()) {
        *error = tr("it is empty; its first line names the columns: texte, r\xC3\xA9ponse, r\xC3\xA9ponse2, m\xC3\xA9" "dia "
                    "and commentaire");
        return false;
    }
    std::vector<Column> columns;
    bool answers = false;
    for (const std::string& header : rows[0].cells) {
        columns.push_back(columnOf(trimmed(header)));
        answers = answers || columns.back() == Column::Answer;
        if (columns.back() == Column::Unused && !trimmed(header).empty()) table->unused.push_back(trimmed(header));
    }
    if (!answers) {
        *error = tr("its first line, which names the columns, has no r\xC3\xA9ponse (or answer) column; the others are "
                    "texte, r\xC3\xA9ponse2, m\xC3\xA9" "dia and commentaire");
        return false;
    }
    for (std::size_t r = 1; r < rows.size(); ++r) {
        QuestionRow row;
        row.line = rows[r].line;
        bool any = false;
        for (std::size_t c = 0; c < rows[r].cells.size() && c < columns.size(); ++c) {
            const std::string cell = trimmed(rows[r].cells[c]);
            any = any || !cell.empty();
            std::string* target = columns[c] == Column::Text      ? &row.text
                                  : columns[c] == Column::Answer  ? &row.answer
                                  : columns[c] == Column::Answer2 ? &row.answer2
                                  : columns[c] == Column::Media   ? &row.media
                                  : columns[c] == Column::Comment ? &row.comment
                                                                  : nullptr;
            if (target && target->empty()) *target = cell;
        }
        if (!any) continue;  // an empty line between the questions
        table->answer2Column = table->answer2Column || !row.answer2.empty();
        table->rows.push_back(row);
        if (table->rows.size() > static_cast<std::size_t>(MAX_QUESTIONS)) {
            *error = fillIn(tr("line {1} is question {2}; a quiz holds at most {3}"), row.line, table->rows.size(),
                            MAX_QUESTIONS);
            return false;
        }
    }
    if (table->rows.empty()) {
        *error = tr("it holds no question below its first line");
        return false;
    }
    return true;
}

QuizKind tableKind(const QuestionTable& table) {
    for (const QuestionRow& row : table.rows) {
        if (row.media.empty()) continue;
        const std::string extension = lowerExtension(forwardSlashes(row.media));
        return extension == "mp3" ? QuizKind::Audio : extension == "avi" ? QuizKind::Video : QuizKind::Picture;
    }
    return QuizKind::Text;
}

std::vector<FolderFile> questionTableFiles(const QuestionTable& table, QuizKind kind, const std::string& title,
                                           const std::filesystem::path& mediaFolder) {
    QuizDraft draft;
    draft.kind = kind;
    draft.title = title;
    draft.description = "R\xC3\xA9pondez \xC3\xA0 chaque question, puis Tab pour passer \xC3\xA0 la suivante.";
    draft.slots = table.answer2Column ? 2 : 1;
    MediaCopies copies;
    std::string ignored;
    if (!resolvedPath(mediaFolder, &copies.folder, &ignored)) copies.folder.clear();
    bool comments = false;
    for (const QuestionRow& row : table.rows) {
        DraftQuestion question;
        question.text = row.text;
        question.answer = row.answer;
        question.answer2 = row.answer2;
        question.comment = row.comment;
        if (!row.media.empty()) question.media = copiedMedia(row.media, &copies);
        comments = comments || !row.comment.empty();
        draft.questions.push_back(question);
        // A code to replace for each score, so that the quiz builds as it is.
        draft.codes.push_back("CODE" + std::to_string(draft.questions.size()));
    }
    // Only a picture quiz shows comments.
    if (comments && kind == QuizKind::Picture) draft.reveal = "comment";
    const std::string manifest = draftToml(draft);
    std::vector<FolderFile> files{FolderFile{QUIZ_TOML_NAME, std::vector<unsigned char>(manifest.begin(), manifest.end())}};
    for (FolderFile& file : copies.files) files.push_back(std::move(file));
    return files;
}
