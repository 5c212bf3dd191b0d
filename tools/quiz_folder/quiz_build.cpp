// A quiz program: the player with the quiz's resources.
#include "tools/quiz_folder/quiz_build.h"

#include <algorithm>

#include "content/loader.h"
#include "content/quiz_format.h"
#include "tools/support/translation.h"

bool isQuizResource(const ResourceEntry& entry) {
    return sameKey(entry.type, stringKey(QUIZ_PACKED_TYPE)) ||
           sameKey(entry.type, stringKey(QUIZ_MEDIA_TYPE));
}

std::vector<ResourceEntry> quizResources(const CheckedQuiz& quiz, uint16_t language) {
    std::vector<ResourceEntry> entries;
    const auto add = [&](const char* type, int id, const std::vector<unsigned char>& bytes) {
        ResourceEntry entry;
        entry.type = stringKey(type);
        entry.name = numberKey(static_cast<uint16_t>(id));
        entry.language = language;
        entry.data.assign(bytes.begin(), bytes.end());
        entries.push_back(std::move(entry));
    };
    add(QUIZ_PACKED_TYPE, RESOURCE_CONTENT_ID, quiz.packedContent);
    add(QUIZ_PACKED_TYPE, RESOURCE_CODES_ID, quiz.packedCodes);
    if (!quiz.packedAnswers.empty()) add(QUIZ_PACKED_TYPE, RESOURCE_ANSWERS_ID, quiz.packedAnswers);
    for (const QuizMediaFile& media : quiz.media) add(QUIZ_MEDIA_TYPE, media.resourceId, media.bytes);
    return entries;
}

namespace {

// The player with its own resources kept, every quiz resource it had dropped, and these added, in the
// language of the player's own.
bool programWith(const std::vector<uint8_t>& player, std::vector<ResourceEntry> quizEntries,
                 std::vector<uint8_t>* program, std::string* error) {
    std::vector<ResourceEntry> entries;
    if (!readPeResources(player, &entries, error)) return false;
    // A quiz program given as the player keeps nothing of its old quiz: a question the new quiz
    // does not have must not keep its media.
    std::vector<ResourceEntry> kept;
    for (ResourceEntry& entry : entries) {
        if (!isQuizResource(entry)) kept.push_back(std::move(entry));
    }
    // The player finds resources in any language; the quiz's take the language of the player's own,
    // so the program looks as if the resource compiler had made it whole. Neutral when it has none.
    const uint16_t language = kept.empty() ? 0 : kept.front().language;
    for (ResourceEntry& entry : quizEntries) {
        entry.language = language;
        kept.push_back(std::move(entry));
    }
    if (!writePeResources(player, kept, program, error)) return false;
    // The program is read back as dump and the player will read it: anything but the very resources
    // meant is a program no one should be handed.
    std::vector<ResourceEntry> back;
    std::string why;
    if (!readPeResources(*program, &back, &why)) {
        program->clear();
        *error = fillIn(tr("the program written does not read back: {1}"), why);
        return false;
    }
    for (const ResourceEntry& meant : kept) {
        const auto same = [&](const ResourceEntry& read) {
            return sameKey(read.type, meant.type) && sameKey(read.name, meant.name) &&
                   read.language == meant.language && read.codePage == meant.codePage && read.data == meant.data;
        };
        if (back.size() != kept.size() || std::count_if(back.begin(), back.end(), same) != 1) {
            program->clear();
            *error = tr("the program written does not read back with the resources meant for it");
            return false;
        }
    }
    return true;
}

}  // namespace

bool buildQuizProgram(const std::vector<uint8_t>& player, const CheckedQuiz& quiz,
                      std::vector<uint8_t>* program, std::string* error) {
    return programWith(player, quizResources(quiz, 0), program, error);
}

bool moveQuizProgram(const std::vector<uint8_t>& player, const std::vector<uint8_t>& quizProgram,
                     std::vector<uint8_t>* program, std::string* error) {
    std::vector<ResourceEntry> entries, quizEntries;
    if (!readPeResources(quizProgram, &entries, error)) return false;
    for (ResourceEntry& entry : entries) {
        if (isQuizResource(entry)) quizEntries.push_back(std::move(entry));
    }
    if (quizEntries.empty()) {
        *error = tr("it carries no quiz");
        return false;
    }
    return programWith(player, std::move(quizEntries), program, error);
}
