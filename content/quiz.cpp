// The quiz record and its doubly linked question list.
#include "quiz.h"

#include <cstdlib>
#include <cstring>

Quiz* g_quiz = nullptr;

void copyText(char* slot, const char* text) {
    if (text == nullptr) {
        slot[0] = '\0';
        return;
    }
    // Cut rather than refuse: the loader hands over whatever the content holds, unchecked.
    size_t length = strnlen(text, TEXT_MAX_LENGTH);
    memcpy(slot, text, length);
    slot[length] = '\0';
}

void initQuiz(Quiz* quiz) {
    memset(quiz, 0, sizeof *quiz);
    quiz->backgroundBrush = nullptr;
    quiz->firstQuestion = nullptr;
    quiz->lastQuestion = nullptr;
    quiz->revealMode = RevealMode::Comment;
    quiz->accents = AccentRule::Exact;
    quiz->acceptedTexts = nullptr;
}

Question* appendQuestion(Quiz* quiz, const char* answer1, const char* answer2, const char* text) {
    Question* node = static_cast<Question*>(calloc(1, sizeof(Question)));
    if (node == nullptr) return nullptr;
    copyText(node->answer1, answer1);
    copyText(node->answer2, answer2);
    copyText(node->text, text);
    node->prev = quiz->lastQuestion;
    node->next = nullptr;
    if (quiz->lastQuestion != nullptr) {
        quiz->lastQuestion->next = node;
    } else {
        quiz->firstQuestion = node;
    }
    quiz->lastQuestion = node;
    return node;
}

Question* questionAt(const Quiz* quiz, int index) {
    Question* node = quiz->firstQuestion;
    if (node == nullptr) return nullptr;
    // Stopping on the last node is what lets the demo quiz announce more questions than it holds.
    for (int step = 0; step < index && node->next != nullptr; ++step) node = node->next;
    return node;
}

void clearQuestions(Quiz* quiz) {
    Question* node = quiz->firstQuestion;
    while (node != nullptr) {
        Question* next = node->next;
        free(node);
        node = next;
    }
    quiz->firstQuestion = nullptr;
    quiz->lastQuestion = nullptr;
    free(quiz->acceptedTexts);
    quiz->acceptedTexts = nullptr;
}
