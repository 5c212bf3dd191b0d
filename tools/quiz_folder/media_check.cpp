// Checking the media files of a quiz folder.
#include "tools/quiz_folder/media_check.h"

#include <cstdio>
#include <vector>

#include "player/geometry.h"
#include "tools/quiz_folder/picture_check.h"
#include "tools/quiz_folder/picture_fitting.h"
#include "tools/support/files.h"
#include "tools/support/text.h"
#include "tools/support/cp1252.h"
#include "tools/support/translation.h"

namespace {

// A path written the Windows way, as quiz.toml shows it: between single quotes a backslash stays one,
// between double quotes it starts an escape, "media\nantes.jpg" a line break. Empty when the path
// holds no backslash as written, or only the escapes of a character (\u00E9) or of a quote.
std::string writtenWithBackslashes(const SourceText& field) {
    const std::string& written = field.written;
    if (written.size() >= 2 && written[0] == '"') {
        for (std::size_t i = written.find('\\'); i != std::string::npos; i = written.find('\\', i + 2)) {
            const char next = i + 1 < written.size() ? written[i + 1] : '\0';
            if (next != 'u' && next != 'U' && next != '"') return written;
        }
        return std::string();
    }
    // Between single quotes as TOML writes it, in every language.
    return field.value.find('\\') != std::string::npos ? "'" + printable(field.value) + "'" : std::string();
}

// A text as written without its quotes ('...', "...", """...""").
std::string unquoted(const std::string& written) {
    const std::size_t first = written.find_first_not_of(written[0]);
    if (first == std::string::npos) return std::string();
    return written.substr(first, written.find_last_not_of(written[0]) - first + 1);
}

// A regular file inside folder named as path's last part, but elsewhere: its path with "/", or empty.
// At most a few thousand entries, three folders deep, are looked at, and no link is followed.
std::string sameNameElsewhere(const std::filesystem::path& folder, const std::string& path) {
    const std::string name = path.substr(path.rfind('/') == std::string::npos ? 0 : path.rfind('/') + 1);
    if (name.empty() || name == "." || name == "..") return std::string();
    std::error_code ec;
    int looked = 0;
    for (std::filesystem::recursive_directory_iterator it(folder, ec), end; !ec && it != end && looked < 4000;
         it.increment(ec), ++looked) {
        if (it.depth() >= 2) it.disable_recursion_pending();
        std::error_code typeError;
        if (it->symlink_status(typeError).type() != std::filesystem::file_type::regular) continue;
        if (utf8Path(it->path().filename()) != name) continue;
        const std::string found = forwardSlashes(utf8Path(it->path().lexically_relative(folder)));
        if (found != path) return found;
    }
    return std::string();
}

// path as a command line takes it: in double quotes when it holds anything but letters, digits and
// . _ - /.
std::string commandPath(const std::string& path) {
    for (char c : path) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
                           c == '_' || c == '-' || c == '/';
        if (!plain) return "\"" + path + "\"";
    }
    return path;
}

// path with its extension (if any) replaced by extension; a name of its own when that is path itself,
// so that no command given here writes over the author's file.
std::string withExtension(const std::string& path, const char* extension) {
    const std::size_t dot = path.rfind('.');
    const std::size_t slash = path.rfind('/');
    const std::string stem = dot == std::string::npos || (slash != std::string::npos && dot < slash) || dot == 0
                                 ? path
                                 : path.substr(0, dot);
    const std::string renamed = stem + "." + extension;
    return renamed == path ? stem + "-converted." + extension : renamed;
}

// ImageMagick's command: on Windows its "magick" (Windows has a "convert" of its own, for disks),
// elsewhere "convert", which both ImageMagick 6 (Debian 12) and 7 have.
#ifdef _WIN32
const char* const IMAGEMAGICK = "magick";
#else
const char* const IMAGEMAGICK = "convert";
#endif

// How a file of another format becomes one the player takes, as a command of a common free tool.
std::string conversionCommand(MediaKind kind, const std::string& path) {
    switch (kind) {
        case MediaKind::Picture:
            return std::string(IMAGEMAGICK) + " " + commandPath(path) + " " + commandPath(withExtension(path, "jpg")) +
                   " (ImageMagick)";
        case MediaKind::Sound:
            return "ffmpeg -i " + commandPath(path) + " " + commandPath(withExtension(path, "mp3"));
        default:
            // Motion JPEG: Windows has its decoder, and Wine plays it.
            return "ffmpeg -i " + commandPath(path) + " -c:v mjpeg -q:v 4 " + commandPath(withExtension(path, "avi"));
    }
}

// The rest of the message for a file that is not of the kind's formats: what it is, when that is
// known, and how to convert it when it holds the right kind of media.
// shown: "NAME 'PATH'", the message's subject.
std::string notOfItsFormat(const std::vector<unsigned char>& bytes, const MediaRule& rule, const std::string& path,
                           const std::string& shown) {
    if (bytes.empty()) return fillIn(tr("{1} is not {2} (the file is empty)"), shown, tr(rule.description));
    const MediaFormatName format = mediaFormatName(bytes);
    if (format.name == nullptr) return fillIn(tr("{1} is not {2}"), shown, tr(rule.description));
    // A film's sound track makes a sound too.
    if (format.kind == rule.kind || (rule.kind == MediaKind::Sound && format.kind == MediaKind::Film)) {
        return fillIn(tr("{1} is {2}, not {3}: convert it, for example with {4}, and name the new file here"), shown,
                      tr(format.name), tr(rule.shortName), conversionCommand(rule.kind, path));
    }
    return fillIn(tr("{1} is {2}, not {3}"), shown, tr(format.name), tr(rule.shortName));
}

std::string sizeText(int width, int height) {
    return std::to_string(width) + " x " + std::to_string(height);
}

// Decodes a picture; false (with an error) when it cannot be shown. A picture the player does not
// show as it is gets a note, and when the media are read whole, its fitted form (picture_fitting.h)
// takes the place of its bytes. shown is "NAME 'PATH'".
bool checkPictureFile(const MediaSources& sources, QuizMediaFile* media, int line, const std::string& shown,
                      const CheckedQuiz& quiz, Diagnostics* diagnostics) {
    const std::vector<unsigned char>& bytes = media->bytes;
    const PictureFacts facts = checkPicture(bytes.data(), bytes.size());
    const std::string format = tr(mediaFormatName(bytes).name);
    switch (facts.state) {
        case PictureState::Cut:
            addError(diagnostics, line,
                     fillIn(tr("{1} is {2} cut short: the file ends before the picture does; copy or export it again"),
                            shown, format));
            return false;
        case PictureState::Damaged:
            // The decoder's reason is its own, in English.
            addError(diagnostics, line,
                     facts.reason.empty()
                         ? fillIn(tr("{1} is {2} that does not decode: export it again from a picture editor"), shown, format)
                         : fillIn(tr("{1} is {2} that does not decode ({3}): export it again from a picture editor"), shown,
                                  format, facts.reason));
            return false;
        default: break;
    }
    int width = 0, height = 0;
    fittedPictureSize(facts.width, facts.height, PICTURE_BOX, PICTURE_BOX, &width, &height);
    if (facts.state == PictureState::TooLarge) {
        const std::string command = std::string(IMAGEMAGICK) + " " + commandPath(media->path) + " -resize " +
                                    std::to_string(PICTURE_BOX) + "x" + std::to_string(PICTURE_BOX) + " " +
                                    commandPath(withExtension(media->path, "jpg"));
        addError(diagnostics, line,
                 fillIn(tr("{1} is {2} pixels, more than the {3} million a picture may have; the player shows it at {4}: "
                           "scale it to that size in a picture editor, or with {5} (ImageMagick), and name the new "
                           "file here"),
                        shown, sizeText(facts.width, facts.height), PICTURE_MAX_PIXELS / 1000000, sizeText(width, height),
                        command));
        return false;
    }
    const FittedPicture planned = pictureFitFor(bytes.data(), bytes.size(), facts.width, facts.height);
    if (planned.fit == PictureFit::AsItIs) return true;
    const std::string carried = sizeText(planned.width, planned.height);
    addNote(diagnostics, line,
            planned.fit == PictureFit::Converted
                ? fillIn(tr("{1} is {2}, which the player does not show: the quiz program carries it as a JPEG picture "
                            "of {3} pixels; the file itself is left as it is"),
                         shown, format, carried)
                : fillIn(tr("{1} is {2} pixels, but the player shows it at {3}: the quiz program carries it at that "
                            "size, as a JPEG picture; the file itself is left as it is"),
                         shown, sizeText(facts.width, facts.height), carried));
    if (sources.reading != MediaReading::Whole) return true;
    FittedPicture fitted;
    const PictureBackground page = {quiz.content.red, quiz.content.green, quiz.content.blue};
    if (!fitPicture(bytes.data(), bytes.size(), page, &fitted)) {
        addError(diagnostics, line,
                 fillIn(tr("{1} cannot be made into a JPEG picture: export it again from a picture editor"), shown));
        return false;
    }
    media->bytes.swap(fitted.jpeg);
    return true;
}

}  // namespace

bool isInsideFolder(const std::filesystem::path& folder, const std::filesystem::path& path) {
    auto part = path.begin();
    for (const std::filesystem::path& folderPart : folder) {
        if (part == path.end() || *part != folderPart) return false;
        ++part;
    }
    return part != path.end();
}

MediaRule mediaRuleFor(QuizKind kind) {
    switch (kind) {
        case QuizKind::Audio:
            return MediaRule{N_("an MP3 sound (ID3 tag or MPEG frame)"), N_("an MP3 sound"), MediaKind::Sound, MediaFormat::Mp3,
                             MediaFormat::Mp3};
        case QuizKind::Video:
            return MediaRule{N_("an AVI film (RIFF ... AVI header)"), N_("an AVI film"), MediaKind::Film, MediaFormat::Avi,
                             MediaFormat::Avi};
        default:
            // PNG and BMP too, which the quiz program carries as JPEG.
            return MediaRule{N_("a JPEG, GIF, PNG or BMP picture"), N_("a JPEG, GIF, PNG or BMP picture"), MediaKind::Picture,
                             MediaFormat::Jpeg, MediaFormat::Gif};
    }
}

// A quiz folder comes from anyone: a path, or a link on it, that leads outside the folder would put
// the user's own files into the program the user then shares.
void checkMediaFile(MediaSources* sources, const SourceText& field, const std::string& name, const MediaRule& rule,
                    int resourceId, CheckedQuiz* quiz, Diagnostics* diagnostics) {
    const std::string& path = field.value;
    if (path.empty()) {
        addError(diagnostics, field.line, fillIn(tr("{1} is empty; give the file's path inside the quiz folder"), name));
        return;
    }
    if (path.find('\0') != std::string::npos) {
        addError(diagnostics, field.line, fillIn(tr("{1} holds U+0000, which no file name can hold"), name));
        return;
    }
    const std::string windowsPath = writtenWithBackslashes(field);
    if (!windowsPath.empty()) {
        addError(diagnostics, field.line,
                 fillIn(tr("{1} {2} holds \"\\\"; write paths with \"/\" so the folder builds everywhere: {3}"), name,
                        windowsPath, quotedText(forwardSlashes(unquoted(windowsPath)), '"')));
        return;
    }
    const std::filesystem::path relative = nativePath(path);
    if (relative.is_absolute() || relative.has_root_name() || relative.has_root_directory()) {
        addError(diagnostics, field.line,
                 fillIn(tr("{1} {2} must be a path inside the quiz folder"), name, quotedText(path)));
        return;
    }
    if (sources->overTotal) return;  // reported once already
    std::filesystem::path resolved;
    std::string error;
    if (!resolvedPath(sources->folder / relative, &resolved, &error)) {
        // A folder made on Windows, where names ignore letter case, may name its files in another case.
        const std::string other = pathDifferingInCase(sources->folder, path);
        // Or it names the file where it is not: "evreux.jpg" for media/evreux.jpg.
        const std::string elsewhere = other.empty() ? sameNameElsewhere(sources->folder, path) : std::string();
        addError(diagnostics, field.line,
                 !other.empty()
                     ? fillIn(tr("{1}: cannot read {2}: {3}; {4} differs from it only in letter case, which Windows "
                                 "ignores and other systems do not: write {5}"),
                              name, quotedText(path), error, quotedText(other), quotedText(other, '"'))
                 : !elsewhere.empty()
                     ? fillIn(tr("{1}: cannot read {2}: {3}; {4} has that name: write {5}"), name, quotedText(path),
                              error, quotedText(elsewhere), quotedText(elsewhere, '"'))
                     : fillIn(tr("{1}: cannot read {2}: {3}"), name, quotedText(path), error));
        return;
    }
    if (sources->resolvedFolder.empty() || !isInsideFolder(sources->resolvedFolder, resolved)) {
        addError(diagnostics, field.line, fillIn(tr("{1} {2} leads outside the quiz folder"), name, quotedText(path)));
        return;
    }
    QuizMediaFile media{resourceId, path, {}};
    int64_t size = 0;
    // Pictures are decoded, so read whole even for check; of sounds and films check needs the first bytes.
    const bool firstBytes = sources->reading == MediaReading::FormatOnly && rule.kind != MediaKind::Picture;
    const std::size_t wanted = firstBytes ? MEDIA_FORMAT_BYTES : MEDIA_MAX_BYTES;
    if (!readRegularFile(resolved, path, MEDIA_MAX_BYTES, wanted, &media.bytes, &size, &error)) {
        addError(diagnostics, field.line, fillIn(tr("{1}: {2}"), name, error));
        return;
    }
    sources->total += size;
    if (sources->total > MEDIA_TOTAL_MAX_BYTES) {
        addError(diagnostics, field.line,
                 // TRANSLATORS: MB, as French writes Mo.
                 fillIn(tr("{1} {2} brings the media to {3} bytes; a quiz program holds at most {4} MB of them"), name,
                        quotedText(path), sources->total, MEDIA_TOTAL_MAX_BYTES / (1024 * 1024)));
        sources->overTotal = true;
        return;
    }
    const MediaFormat format = mediaFormat(media.bytes);
    const bool convertible = rule.kind == MediaKind::Picture && isPngOrBmp(media.bytes.data(), media.bytes.size());
    if (format != rule.first && format != rule.second && !convertible) {
        addError(diagnostics, field.line, notOfItsFormat(media.bytes, rule, path, name + " " + quotedText(path)));
        return;
    }
    if (rule.kind == MediaKind::Picture &&
        !checkPictureFile(*sources, &media, field.line, name + " " + quotedText(path), *quiz, diagnostics))
        return;
    if (sources->reading == MediaReading::FormatOnly && media.bytes.size() > MEDIA_FORMAT_BYTES) {
        media.bytes.resize(MEDIA_FORMAT_BYTES);  // check keeps no more than it would have read
        media.bytes.shrink_to_fit();
    }
    quiz->sources.push_back(resolved);
    quiz->media.push_back(std::move(media));
}

