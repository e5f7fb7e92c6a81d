#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>

#include "app/Logger.h"
#include "support/TempDir.h"
#include "util/Json.h"

namespace {

namespace fs = std::filesystem;

// A copy of a public JSON parsing corpus, with its licence beside it.
const char* const CORPUS = DEPLOYER_SOURCE_DIR "/tests/data/jsontestsuite/test_parsing";

// Parses text; returns the tree, or null after checking that the failure is a documented one.
std::unique_ptr<Json> parseOrFail(Logger* logger, const std::string& text,
                                  const std::string& name) {
  try {
    return std::make_unique<Json>(logger, text);
  } catch (const char* message) {
    std::string failure = message;
    EXPECT_TRUE(failure == "Unexpected Json end" || failure == "Unexpected Json token" ||
                failure == "Expected Json object token")
        << name << ": " << failure;
  }
  return nullptr;
}

// Returns whether the text was accepted; an accepted tree serializes to a text that reads back
// into a tree serializing to the same text.
bool checkDocument(const TempDir& dir, const std::string& text, const std::string& name) {
  Logger log(dir.File("log.txt"));
  Logger* logger = &log;
  auto begin = std::chrono::steady_clock::now();
  std::unique_ptr<Json> json = parseOrFail(logger, text, name);
  EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::seconds(1)) << name;
  for (bool compact : {true, false}) {
    std::string first = json ? json->Serialize(compact) : "";
    std::unique_ptr<Json> again =
        json ? parseOrFail(logger, first, name + " (serialized)") : nullptr;
    EXPECT_EQ(again ? again->Serialize(compact) : "", first) << name;
  }
  return json != nullptr;
}

}  // namespace

TEST(JsonCorpus, AnswersEveryDocumentWithATreeOrADocumentedFailure) {
  if (!fs::is_directory(CORPUS)) {
    GTEST_SKIP() << "the JSON test corpus is missing from " << CORPUS;
  }
  TempDir dir;
  int documents = 0;
  int accepted = 0;
  for (const fs::directory_entry& entry : fs::directory_iterator(CORPUS)) {
    std::string name = entry.path().filename().string();
    std::string text = TempDir::ReadFile(entry.path());
    accepted += checkDocument(dir, text, name);
    accepted += checkDocument(dir, "{\"k\":" + text + "}", name + " wrapped");
    documents += 2;
  }
  EXPECT_GT(accepted, 0);
  std::cout << accepted << " of " << documents << " documents accepted\n";
}
