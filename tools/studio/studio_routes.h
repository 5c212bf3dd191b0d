// The studio's handlers, one per kind of request, and what they share; studio_api.cpp dispatches.
#pragma once
#include <nlohmann/json.hpp>
#include <string>

#include "tools/quiz_folder/diagnostics.h"
#include "tools/studio/studio_http.h"

using Json = nlohmann::json;

StudioResponse jsonResponse(const Json& value, int status = 200);
// {"error": message} with the status.
StudioResponse errorResponse(int status, const std::string& message);
// The value of key in a URL query, decoded; empty when absent or malformed.
std::string queryValue(const std::string& query, const std::string& key);
// The string at key of an object; empty when absent or not a string.
std::string jsonText(const Json& object, const char* key);

// The quiz folder a request names: one safe name, a folder directly in the workspace that holds a
// quiz.toml and whose links do not lead out of it. False with *refusal to send back.
bool quizFolderNamed(const StudioState& state, const std::string& name, std::filesystem::path* folder,
                     StudioResponse* refusal);

// Workspace: the home page's list, a new quiz, a quiz program unpacked, the page's own files.
StudioResponse listQuizzes(StudioState* state);
StudioResponse createQuiz(StudioState* state, const StudioRequest& request);
StudioResponse importProgram(StudioState* state, const StudioRequest& request);
StudioResponse pageFile(const std::string& path);

// One quiz: read, saved and checked, its media, preview, builds and trial.
StudioResponse readQuiz(StudioState* state, const std::string& name);
StudioResponse saveQuiz(StudioState* state, const std::string& name, const StudioRequest& request);
StudioResponse uploadMedia(StudioState* state, const std::string& name, const StudioRequest& request);
StudioResponse quizFile(StudioState* state, const std::string& name, const StudioRequest& request, bool download);
StudioResponse previewQuiz(StudioState* state, const std::string& name);
StudioResponse buildQuiz(StudioState* state, const std::string& name, const StudioRequest& request);
StudioResponse playQuiz(StudioState* state, const std::string& name);
// Whether the last trial still runs, and when it has ended, how play ended it and what it said.
StudioResponse trialState(StudioState* state);

// The problems of a quiz as the page shows them, each with the page's name of its field.
Json problemsJson(const Diagnostics& diagnostics, const std::map<int, std::string>& fields);
