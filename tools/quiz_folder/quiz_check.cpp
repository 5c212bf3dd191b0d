// Checking a quiz folder: every rule the player's formats and limits impose, each problem reported
// with its line, and the quiz turned into the program's form on the way.
#include "tools/quiz_folder/quiz_check.h"

#include <cstdio>
#include <cstdlib>

#include "checking/accepted_answers.h"
#include "content/lzw.h"
#include "content/quiz_format.h"
#include "tools/quiz_folder/answer_typing.h"
#include "tools/quiz_folder/media_check.h"
#include "tools/quiz_folder/outside_code_page.h"
#include "tools/support/cp1252.h"
#include "tools/support/files.h"
#include "tools/support/text.h"
#include "tools/support/translation.h"

namespace {

// The most characters of a score code that the header shows whole.
const std::size_t MAX_VISIBLE_CODE = 8;

// quiz.toml is text a person writes: anything near this size is not one.
constexpr int64_t QUIZ_TOML_MAX_BYTES = 4 * 1024 * 1024;

// The packer reads at most LZW_MAX_INPUT bytes and the player unpacks at most LZW_UNPACK_CAPACITY;
// the smaller bounds what a resource may hold before packing.
constexpr int32_t UNPACKED_LIMIT = LZW_MAX_INPUT < LZW_UNPACK_CAPACITY ? LZW_MAX_INPUT : LZW_UNPACK_CAPACITY;
// The player's unpacker reads its input with a 16-bit count.
constexpr int32_t PACKED_LIMIT = LZW_MAX_INPUT;

int lineOr(const SourceText& field, int fallback) {
    return field.given ? field.line : fallback;
}

// Given with the right type: a value of a wrong type has had its error already.
bool usable(const SourceText& field) {
    return field.given && !field.wrongType;
}
bool usable(const SourceInteger& field) {
    return field.given && !field.wrongType;
}

// What a text may hold beyond being code page 1252 and short enough.
enum class TextRule {
    Field,   // a "|"-ended field of the content
    Answer,  // a field that is also typed into a one-line answer field
    Code,    // a line of the score codes: "|" is fine, a line break is not
};

// The code page 1252 form of a manifest text, or nothing (with an error) when the player cannot
// hold it. name is how the messages call the text ("title", "question 3: answer").
bool playerText(const SourceText& field, const std::string& name, TextRule rule, std::string* text,
                Diagnostics* diagnostics) {
    const std::string& utf8 = field.value;
    const int line = field.line;
    text->clear();
    if (utf8.find('\0') != std::string::npos) {
        addError(diagnostics, line, fillIn(tr("{1} holds U+0000, which would end the text early in the player"), name));
        return false;
    }
    const TextConversion converted = utf8ToCp1252(utf8);
    if (!converted.ok) {
        const std::vector<OutsideCharacter> outside = outsideCodePage(field);
        if (outside.empty()) {
            addError(diagnostics, line, fillIn(tr("{1}: {2}"), name, converted.error));
        } else {
            addErrorAt(diagnostics, outside[0].line > 0 ? outside[0].line : line,
                       outside[0].line > 0 ? outside[0].column : 0,
                       outsideCodePageMessage(name, outside, outside[0].line > 0 ? outside[0].line : line));
        }
        return false;
    }
    bool ok = true;
    if (rule != TextRule::Code && converted.text.find(FIELD_SEPARATOR) != std::string::npos) {
        addError(diagnostics, line, fillIn(tr("{1} holds \"|\", which the program uses to end each of its texts"), name));
        ok = false;
    }
    if (rule == TextRule::Code && converted.text.find_first_of("\r\n") != std::string::npos) {
        addError(diagnostics, line, fillIn(tr("{1} holds a line break; a code is one line"), name));
        ok = false;
    }
    if (rule == TextRule::Answer) {
        for (unsigned char byte : converted.text) {
            if (byte < 0x20) {
                char hex[8];
                std::snprintf(hex, sizeof hex, "U+%04X", static_cast<unsigned>(byte));
                addError(diagnostics, line,
                         fillIn(tr("{1} holds the control character {2}, which cannot be typed into an answer field"),
                                name, hex));
                ok = false;
                break;
            }
        }
    }
    if (converted.text.size() > static_cast<std::size_t>(TEXT_MAX_LENGTH)) {
        addError(diagnostics, line,
                 fillIn(tr("{1} is {2} bytes long in code page 1252; the player holds at most {3}"), name,
                        converted.text.size(), TEXT_MAX_LENGTH));
        ok = false;
    }
    if (ok) *text = converted.text;
    return ok;
}

bool parseColour(const std::string& text, QuizContent* content) {
    if (text.size() != 7 || text[0] != '#') return false;
    unsigned char channels[3];
    for (int i = 0; i < 3; ++i) {
        unsigned value = 0;
        for (int k = 0; k < 2; ++k) {
            const char c = text[1 + 2 * i + k];
            unsigned digit;
            if (c >= '0' && c <= '9') {
                digit = static_cast<unsigned>(c - '0');
            } else if (c >= 'a' && c <= 'f') {
                digit = static_cast<unsigned>(c - 'a' + 10);
            } else if (c >= 'A' && c <= 'F') {
                digit = static_cast<unsigned>(c - 'A' + 10);
            } else {
                return false;
            }
            value = value * 16 + digit;
        }
        channels[i] = static_cast<unsigned char>(value);
    }
    content->red = channels[0];
    content->green = channels[1];
    content->blue = channels[2];
    return true;
}

// Whether the kind, the number of slots and the reveal mode are known: when one is wrong, the
// checks that depend on it are skipped rather than reported against a value the author did not mean.
struct HeaderFacts {
    bool kindKnown;
    bool slotsKnown;
    bool revealKnown;
};

// One question being checked: its source, how messages name it, and what the header says about
// the quiz.
// Questions whose reveal keys the quiz's reveal leaves out, and those without the key it shows; and
// texts that a quiz of another kind than text never shows. They are told together once all questions
// are checked: a switch of reveal or kind leaves the same key unused in every question, and one line
// says so better than ninety.
struct RevealKeys {
    struct Place {
        int question;
        int line;  // of the key, or of the question when the key is missing
    };
    std::vector<Place> unusedComments, unusedPictures, withoutComment, withoutPicture, unusedTexts;
};

struct QuestionCheck {
    const QuestionSource& question;
    int number;
    std::string label;         // "question 3"
    const QuizContent& quiz;   // kind, slots and reveal, as the header gave them
    const HeaderFacts& facts;
    RevealKeys* reveals;
    Diagnostics* diagnostics;
};

// "question 3: MESSAGE", or "question 3: answer", how messages name a key of the question.
std::string ofQuestion(const QuestionCheck& check, const std::string& message) {
    return fillIn(tr("{1}: {2}"), check.label, message);
}

void addQuestionError(const QuestionCheck& check, int line, const std::string& message) {
    addError(check.diagnostics, line, ofQuestion(check, message));
}

// An expected answer given as a text: one that can be typed into an answer field.
bool checkAnswerText(const QuestionCheck& check, const SourceText& field, const std::string& key,
                     std::string* answer) {
    const std::string name = ofQuestion(check, key);
    if (field.value.empty()) {
        addError(check.diagnostics, field.line, fillIn(tr("{1} is empty: no typed answer can ever match it"), name));
    } else if (playerText(field, name, TextRule::Answer, answer, check.diagnostics)) {
        checkAnswerTyping(*answer, field.line, name, check.diagnostics, check.quiz.accents);
        return true;
    }
    return false;
}

// The answers of one slot: one text, or a list whose every item is checked as one text would be,
// and whose items must differ as the player compares them. The first goes into *first, the others
// into *others.
void checkAnswers(const QuestionCheck& check, const SourceText& answer, const SourceTextList& list,
                  const std::string& key, std::string* first, std::vector<std::string>* others) {
    if (!list.given) {
        checkAnswerText(check, answer, key, first);
        return;
    }
    if (list.wrongType) return;  // reported when read
    if (list.items.empty()) {
        addQuestionError(check, list.line,
                         fillIn(tr("{1} is an empty list: give at least one expected answer, as {1} = [\"...\"]"), key));
        return;
    }
    if (list.items.size() > static_cast<std::size_t>(ANSWERS_PER_FIELD)) {
        addQuestionError(check, list.line,
                         fillIn(tr("{1} lists {2} answers; a field accepts at most {3}"), key, list.items.size(),
                                ANSWERS_PER_FIELD));
    }
    std::vector<std::string> forms;  // each checked item as the player compares it, "" for the others
    for (std::size_t i = 0; i < list.items.size(); ++i) {
        const SourceText& item = list.items[i];
        const std::string name = fillIn(tr("{1} item {2}"), key, i + 1);
        std::string text;
        forms.push_back("");
        if (item.wrongType || !checkAnswerText(check, item, name, &text)) continue;
        char form[FOLDED_SIZE];
        comparisonForm(text.c_str(), check.quiz.accents, form);
        forms.back() = form;
        for (std::size_t j = 0; j < i; ++j) {
            if (forms[j] != forms.back()) continue;
            const std::string same = quotedText(item.value, '"');
            const std::string earlier = quotedText(list.items[j].value, '"');
            addQuestionError(check, item.line,
                             fillIn(check.quiz.accents == AccentRule::Ignore
                                        ? tr("{1} {2} is the same answer as item {3} {4} once letter case and accents "
                                             "are ignored: remove one of them")
                                        : tr("{1} {2} is the same answer as item {3} {4} once the case of a to z is "
                                             "ignored: remove one of them"),
                                    name, same, j + 1, earlier));
            break;
        }
        if (i == 0) {
            *first = text;
        } else {
            others->push_back(text);
        }
    }
}

// answer: required, and a text (or list of texts) that can be typed into an answer field.
void checkAnswer(const QuestionCheck& check, QuestionContent* result) {
    const SourceText& answer = check.question.answer;
    if (!answer.given) {
        addQuestionError(check, check.question.line, tr("no answer; give the expected answer with answer = \"...\""));
    } else if (!answer.wrongType) {  // else reported when read
        checkAnswers(check, answer, check.question.answerList, "answer", &result->answer1, &result->otherAnswers1);
    }
}

// answer2: given exactly when the quiz has two answer slots, and then like answer. With slots
// unknown, only the texts themselves are checked.
void checkAnswer2(const QuestionCheck& check, QuestionContent* result) {
    const SourceText& answer2 = check.question.answer2;
    const int slots = check.quiz.slots;
    if (answer2.wrongType) {
        // Reported when read.
    } else if (!check.facts.slotsKnown) {
        if (answer2.given)
            checkAnswers(check, answer2, check.question.answer2List, "answer2", &result->answer2,
                         &result->otherAnswers2);
    } else if (slots == 1 && answer2.given) {
        addQuestionError(check, answer2.line, tr("answer2 is given but the quiz has one answer slot (slots = 1)"));
    } else if (slots == 2 && !answer2.given) {
        addQuestionError(check, check.question.line, tr("no answer2, but the quiz has two answer slots (slots = 2)"));
    } else if (slots == 2) {
        checkAnswers(check, answer2, check.question.answer2List, "answer2", &result->answer2, &result->otherAnswers2);
    }
}

// text: required in a text quiz, which shows it; stored in the others, which never show it.
void checkQuestionText(const QuestionCheck& check, QuestionContent* result) {
    const SourceText& text = check.question.text;
    if (text.wrongType) {
        // Reported when read.
    } else if (check.facts.kindKnown && check.quiz.kind == QuizKind::Text && (!text.given || text.value.empty())) {
        addQuestionError(check, lineOr(text, check.question.line), tr("no text: a text quiz shows each question's text"));
    } else if (text.given) {
        if (playerText(text, ofQuestion(check, "text"), TextRule::Field, &result->text, check.diagnostics) &&
            check.facts.kindKnown && check.quiz.kind != QuizKind::Text && !text.value.empty())
            check.reveals->unusedTexts.push_back({check.number, text.line});
    }
}

// comment: kept only when the quiz reveals comments, and then expected in a picture quiz (the only
// kind that shows it).
void checkComment(const QuestionCheck& check, QuestionContent* result) {
    const SourceText& comment = check.question.comment;
    const bool comments = check.quiz.reveal == RevealMode::Comment;
    if (!check.facts.revealKnown || comment.wrongType) {
        // Nothing to tell whether the comment is used, or reported when read.
    } else if (comment.given) {
        if (comments) {
            playerText(comment, ofQuestion(check, "comment"), TextRule::Field, &result->comment, check.diagnostics);
        } else {
            check.reveals->unusedComments.push_back({check.number, comment.line});
        }
    } else if (comments && check.facts.kindKnown && check.quiz.kind == QuizKind::Picture) {
        check.reveals->withoutComment.push_back({check.number, check.question.line});
    }
}

// media: required in every kind of quiz but text, which shows none, in the kind's format.
void checkQuestionMedia(const QuestionCheck& check, MediaSources* sources, CheckedQuiz* quiz) {
    const SourceText& media = check.question.media;
    const QuizKind kind = check.quiz.kind;
    if (!check.facts.kindKnown || media.wrongType) {
        // Nothing to check the media against, or reported when read.
    } else if (kind == QuizKind::Text) {
        if (media.given) {
            addQuestionError(check, media.line, tr("media is given but a text quiz shows no media"));
        }
    } else if (!media.given) {
        addQuestionError(check, check.question.line,
                         fillIn(tr("no media: {1} needs {2} for each question"), aKindQuizWords(kind),
                                tr(mediaRuleFor(kind).description)));
    } else {
        checkMediaFile(sources, media, ofQuestion(check, "media"), mediaRuleFor(kind), mediaResourceId(check.number),
                       quiz, check.diagnostics);
    }
}

// answer_picture: kept only when a picture quiz reveals pictures, and then expected.
void checkAnswerPicture(const QuestionCheck& check, MediaSources* sources, CheckedQuiz* quiz) {
    const SourceText& picture = check.question.answerPicture;
    // Only a picture quiz has a picture for the answer picture to replace.
    const bool answerPictures =
        check.quiz.reveal == RevealMode::AnswerPicture && check.quiz.kind == QuizKind::Picture;
    if (picture.wrongType || !check.facts.revealKnown) {
        // Reported when read, or nothing to tell whether the picture is used.
    } else if (picture.given) {
        if (answerPictures) {
            checkMediaFile(sources, picture, ofQuestion(check, "answer_picture"), mediaRuleFor(QuizKind::Picture),
                           answerPictureResourceId(check.number), quiz, check.diagnostics);
        } else if (check.quiz.reveal != RevealMode::AnswerPicture) {
            check.reveals->unusedPictures.push_back({check.number, picture.line});
        }
    } else if (answerPictures) {
        check.reveals->withoutPicture.push_back({check.number, check.question.line});
    }
}

// "questions 1 to 3, 5 and 8", in the order given (question order).
std::string questionList(const std::vector<RevealKeys::Place>& places) {
    std::vector<std::string> runs;
    for (std::size_t i = 0; i < places.size();) {
        std::size_t j = i;
        while (j + 1 < places.size() && places[j + 1].question == places[j].question + 1) ++j;
        const std::string first = std::to_string(places[i].question);
        runs.push_back(j == i ? first
                              : j == i + 1 ? fillIn(tr("{1}, {2}"), first, places[j].question)
                                           : fillIn(tr("{1} to {2}"), first, places[j].question));
        i = j + 1;
    }
    std::string list = runs[0];
    for (std::size_t k = 1; k < runs.size(); ++k)
        list = fillIn(k + 1 == runs.size() ? tr("{1} and {2}") : tr("{1}, {2}"), list, runs[k]);
    return fillIn(tr("questions {1}"), list);
}

// One question: its own message (one, about "question 3") at its own line. Several: one line for
// all (several, about "questions 1 to 3"), at the first one's.
void warnAboutQuestions(const std::vector<RevealKeys::Place>& places, const char* one, const char* several,
                        Diagnostics* diagnostics) {
    if (places.size() == 1) {
        addWarning(diagnostics, places[0].line, fillIn(one, fillIn(tr("question {1}"), places[0].question)));
    } else if (places.size() > 1) {
        addWarning(diagnostics, places[0].line, fillIn(several, questionList(places)));
    }
}

void reportRevealKeys(const RevealKeys& keys, Diagnostics* diagnostics) {
    warnAboutQuestions(keys.unusedComments, tr("{1}: comment is shown only with reveal = \"comment\"; it is left out"),
                       tr("{1}: their comments are shown only with reveal = \"comment\"; they are left out"),
                       diagnostics);
    warnAboutQuestions(keys.unusedPictures,
                       tr("{1}: answer_picture is shown only with reveal = \"picture\"; it is left out"),
                       tr("{1}: their answer pictures are shown only with reveal = \"picture\"; they are left out"),
                       diagnostics);
    warnAboutQuestions(keys.withoutComment, tr("{1}: no comment: solving this question reveals nothing"),
                       tr("{1} have no comment: solving them reveals nothing"), diagnostics);
    warnAboutQuestions(keys.withoutPicture, tr("{1}: no answer_picture: solving this question reveals nothing"),
                       tr("{1} have no answer_picture: solving them reveals nothing"), diagnostics);
    warnAboutQuestions(keys.unusedTexts, tr("{1}: text is shown only in text quizzes: players never see it"),
                       tr("{1}: their texts are shown only in text quizzes: players never see them"), diagnostics);
}

// Each key of the question in turn; the question joins the quiz's content whatever was found.
void checkQuestion(const QuestionSource& question, int number, const HeaderFacts& facts, MediaSources* sources,
                   RevealKeys* reveals, CheckedQuiz* quiz, Diagnostics* diagnostics) {
    const QuestionCheck check{
        question, number, fillIn(tr("question {1}"), number), quiz->content, facts, reveals, diagnostics};
    QuestionContent result;
    checkAnswer(check, &result);
    checkAnswer2(check, &result);
    checkQuestionText(check, &result);
    checkComment(check, &result);
    checkQuestionMedia(check, sources, quiz);
    checkAnswerPicture(check, sources, quiz);
    quiz->content.questions.push_back(result);
}

HeaderFacts checkHeader(const QuizSource& source, QuizContent* content, Diagnostics* diagnostics) {
    bool kindKnown = false;
    if (!source.kind.given) {
        addError(diagnostics, 0, tr("no kind: write kind = \"text\", \"picture\", \"audio\" or \"video\""));
    } else if (source.kind.wrongType) {
        // Reported when read.
    } else if (!parseKindName(source.kind.value, &content->kind)) {
        const std::string likely = likelyKindName(source.kind.value);
        addError(diagnostics, source.kind.line,
                 likely.empty()
                     ? fillIn(tr("kind must be \"text\", \"picture\", \"audio\" or \"video\", not {1}"),
                              quotedText(source.kind.value, '"'))
                     : fillIn(tr("kind must be \"text\", \"picture\", \"audio\" or \"video\", not {1}; did you mean {2}?"),
                              quotedText(source.kind.value, '"'), quotedText(likely, '"')));
    } else {
        kindKnown = true;
    }
    if (!source.title.given) {
        addError(diagnostics, 0, tr("no title: write title = \"...\"; it is also the window's caption"));
    } else if (usable(source.title)) {
        playerText(source.title, "title", TextRule::Field, &content->title,
                   diagnostics);
    }
    if (usable(source.author)) {
        playerText(source.author, "author", TextRule::Field, &content->author,
                   diagnostics);
    }
    if (usable(source.description)) {
        playerText(source.description, "description", TextRule::Field,
                   &content->description, diagnostics);
    }
    bool slotsKnown = !source.slots.wrongType;
    if (usable(source.slots)) {
        if (source.slots.value == 1 || source.slots.value == 2) {
            content->slots = static_cast<int>(source.slots.value);
        } else {
            addError(diagnostics, source.slots.line, fillIn(tr("slots must be 1 or 2, not {1}"), source.slots.value));
            slotsKnown = false;
        }
    }
    if (source.captions.items.size() > 2) {
        addError(diagnostics, source.captions.line,
                 fillIn(tr("captions holds {1} texts; a question has at most two answer slots"),
                        source.captions.items.size()));
    }
    std::string* captions[2] = {&content->caption1, &content->caption2};
    bool captionsWritten = false;
    for (std::size_t i = 0; i < source.captions.items.size() && i < 2; ++i) {
        const SourceText& caption = source.captions.items[i];
        if (usable(caption)) {
            playerText(caption, fillIn(tr("caption {1}"), i + 1), TextRule::Field,
                       captions[i], diagnostics);
            captionsWritten = captionsWritten || !caption.value.empty();
        }
    }
    if (captionsWritten && slotsKnown && content->slots == 1)
        addWarning(diagnostics, source.captions.line,
                   tr("captions are shown only with slots = 2: players of a one-slot quiz never see them"));
    bool revealKnown = !source.reveal.wrongType;
    if (usable(source.reveal) && !parseRevealName(source.reveal.value, &content->reveal)) {
        addError(
            diagnostics, source.reveal.line,
            fillIn(tr("reveal must be \"none\", \"picture\" or \"comment\", not {1}"), quotedText(source.reveal.value, '"')));
        revealKnown = false;
    }
    if (usable(source.reveal) && content->reveal != RevealMode::None && content->kind != QuizKind::Picture &&
        kindKnown) {
        addWarning(diagnostics, source.reveal.line,
                   fillIn(tr("reveal = {1} shows nothing in {2}: only picture quizzes have a picture to replace and a "
                             "comment line"),
                          quotedText(source.reveal.value, '"'), aKindQuizWords(content->kind)));
    }
    if (usable(source.accents) && !parseAccentsName(source.accents.value, &content->accents)) {
        addError(diagnostics, source.accents.line,
                 fillIn(tr("accents must be \"exact\" (accents count) or \"ignore\" (accented letters match their "
                           "plain letters), not {1}"),
                        quotedText(source.accents.value, '"')));
    }
    if (usable(source.background) && !parseColour(source.background.value, content)) {
        addError(diagnostics, source.background.line,
                 fillIn(tr("background must be a colour written \"#RRGGBB\" (six hexadecimal digits), not {1}"),
                        quotedText(source.background.value, '"')));
    }
    return HeaderFacts{kindKnown, slotsKnown, revealKnown};
}

void checkCodes(const QuizSource& source, QuizContent* content, Diagnostics* diagnostics) {
    const std::size_t questions = source.questions.size();
    if (!source.codes.given) {
        addWarning(diagnostics, 0, tr("no codes: the player shows no code for any score"));
        return;
    }
    if (source.codes.wrongType) return;  // reported when read
    if (source.codes.items.size() != questions) {
        addError(diagnostics, source.codes.line,
                 fillIn(ntr("codes holds {1} code for {2}: give one per question, the code for a score of 1 first",
                            "codes holds {1} codes for {2}: give one per question, the code for a score of 1 first",
                            source.codes.items.size()),
                        source.codes.items.size(), fillIn(ntr("{1} question", "{1} questions", questions), questions)));
    }
    for (std::size_t k = 0; k < source.codes.items.size() && k < static_cast<std::size_t>(MAX_QUESTIONS); ++k) {
        const SourceText& code = source.codes.items[k];
        std::string text;
        if (usable(code)) {
            const std::string name = fillIn(tr("code {1}"), k + 1);
            if (playerText(code, name, TextRule::Code, &text, diagnostics)) {
                if (text.empty())
                    addWarning(diagnostics, code.line,
                               fillIn(tr("{1} is empty: a score of {2} shows no code"), name, k + 1));
                // The header's code box is 55 pixels wide: about eight capitals of its font.
                else if (text.size() > MAX_VISIBLE_CODE)
                    addWarning(diagnostics, code.line,
                               fillIn(tr("{1} {2} is longer than {3} characters: the header's code box shows only its start"),
                                      name, quotedText(code.value, '"'), MAX_VISIBLE_CODE));
            }
        }
        content->codes.push_back(text);
    }
}

// Packs one resource, reporting when it cannot be packed or the player could not unpack it.
bool packResource(const std::vector<unsigned char>& plain, const std::string& what,
                  std::vector<unsigned char>* packed, Diagnostics* diagnostics) {
    if (static_cast<int64_t>(plain.size()) > UNPACKED_LIMIT) {
        addError(diagnostics, 0,
                 fillIn(tr("{1} takes {2} bytes before packing; the packer takes at most {3}: shorten the texts or "
                           "remove questions"),
                        what, plain.size(), UNPACKED_LIMIT));
        return false;
    }
    unsigned char* output = nullptr;
    int32_t outputLength = 0;
    const LzwStatus status =
        lzwEncode(plain.data(), static_cast<int32_t>(plain.size()), &output, &outputLength);
    if (status == LzwStatus::Ok) packed->assign(output, output + outputLength);
    std::free(output);
    if (status != LzwStatus::Ok) {
        addError(diagnostics, 0, fillIn(tr("{1} cannot be packed: {2}"), what, lzwStatusName(status)));
        return false;
    }
    if (static_cast<int64_t>(packed->size()) > PACKED_LIMIT) {
        addError(diagnostics, 0,
                 fillIn(tr("{1} packs to {2} bytes; the player unpacks at most {3}: shorten the texts or remove "
                           "questions"),
                        what, packed->size(), PACKED_LIMIT));
        packed->clear();
        return false;
    }
    return true;
}

}  // namespace

bool checkQuizSource(const QuizSource& source, const std::filesystem::path& folder, CheckedQuiz* quiz,
                     Diagnostics* diagnostics, MediaReading reading) {
    *quiz = CheckedQuiz();
    MediaSources sources;
    sources.folder = folder;
    sources.reading = reading;
    std::string ignored;  // each media path then says why it cannot be read
    if (!resolvedPath(folder, &sources.resolvedFolder, &ignored)) sources.resolvedFolder.clear();
    const HeaderFacts facts = checkHeader(source, &quiz->content, diagnostics);
    if (source.questions.empty() && !source.questionsWrongType) {
        addError(diagnostics, source.questionsLine,
                 tr("no questions: add one table per question, each starting with a line [[questions]]"));
    } else if (source.questions.size() > static_cast<std::size_t>(MAX_QUESTIONS)) {
        addError(diagnostics, source.questions[MAX_QUESTIONS].line,
                 fillIn(tr("{1} questions; a quiz holds at most {2}"), source.questions.size(), MAX_QUESTIONS));
    }
    // Questions past the limit are not looked into: a quiz of them is refused anyway, and each one
    // may name a large media file.
    RevealKeys reveals;
    for (std::size_t i = 0; i < source.questions.size() && i < static_cast<std::size_t>(MAX_QUESTIONS); ++i) {
        checkQuestion(source.questions[i], static_cast<int>(i + 1), facts, &sources, &reveals, quiz, diagnostics);
    }
    reportRevealKeys(reveals, diagnostics);
    checkCodes(source, &quiz->content, diagnostics);
    // Errors found before (in reading the manifest) count too: nothing is packed for a broken quiz.
    if (countErrors(*diagnostics) != 0) return false;

    // The limits of the packed resources can only be known once everything else is right.
    bool packed =
        packResource(encodeQuizContent(quiz->content), tr("the quiz content"), &quiz->packedContent, diagnostics);
    packed =
        packResource(encodeScoreCodes(quiz->content), tr("the score codes"), &quiz->packedCodes, diagnostics) &&
        packed;
    // Only a quiz that needs them carries accepted answers: every other quiz packs as it always did.
    if (carriesAcceptedAnswers(quiz->content)) {
        packed = packResource(encodeAcceptedAnswers(quiz->content), tr("the accepted answers"), &quiz->packedAnswers,
                              diagnostics) &&
                 packed;
    }
    return packed;
}

bool checkQuizFolder(const std::filesystem::path& folder, CheckedQuiz* quiz, Diagnostics* diagnostics,
                     MediaReading reading) {
    *quiz = CheckedQuiz();
    std::error_code ec;
    const std::filesystem::file_type type = std::filesystem::status(folder, ec).type();
    if (type == std::filesystem::file_type::not_found) {
        addError(diagnostics, 0, fillIn(tr("the folder {1} does not exist"), quotedText(utf8Path(folder))));
        return false;
    }
    if (type != std::filesystem::file_type::directory && type != std::filesystem::file_type::none) {
        addError(diagnostics, 0, fillIn(tr("{1} is not a folder: name the quiz folder, which holds {2}"),
                                        quotedText(utf8Path(folder)), QUIZ_TOML_NAME));
        return false;
    }
    std::vector<unsigned char> bytes;
    std::string error;
    int64_t size = 0;
    if (!readRegularFile(folder / QUIZ_TOML_NAME, QUIZ_TOML_NAME, QUIZ_TOML_MAX_BYTES, QUIZ_TOML_MAX_BYTES, &bytes,
                         &size, &error)) {
        addError(diagnostics, 0, error);
        return false;
    }
    QuizSource source;
    if (!readQuizToml(std::string(bytes.begin(), bytes.end()), &source, diagnostics)) return false;
    const bool readCleanly = countErrors(*diagnostics) == 0;
    // Values of a wrong type were left out of the source: check the rest all the same, so the
    // author sees every problem at once, but never call the result good.
    const bool ok = checkQuizSource(source, folder, quiz, diagnostics, reading) && readCleanly;
    std::filesystem::path manifest;
    if (resolvedPath(folder / QUIZ_TOML_NAME, &manifest, &error)) quiz->sources.insert(quiz->sources.begin(), manifest);
    return ok;
}
