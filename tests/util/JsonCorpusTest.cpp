#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "app/Logger.h"
#include "support/TempDir.h"
#include "util/Json.h"

namespace {

namespace fs = std::filesystem;

const char* const CORPUS = DEPLOYER_SOURCE_DIR "/../shared/testdata/jsontestsuite/test_parsing";

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool isDocumentedFailure(const std::string& message) {
  return message == "Unexpected Json end" || message == "Unexpected Json token" ||
         message == "Expected Json object token";
}

// Parses text; returns the tree, or null after checking that the failure is a documented one.
std::unique_ptr<Json> parseOrFail(Logger* logger, const std::string& text,
                                  const std::string& name) {
  try {
    return std::unique_ptr<Json>(new Json(logger, text));
  } catch (const char* message) {
    EXPECT_TRUE(isDocumentedFailure(message)) << name << ": " << message;
  }
  return nullptr;
}

// Serialization of an accepted tree reads back into a tree that serializes to the same text.
void expectFixedPoint(Logger* logger, Json* json, const std::string& name) {
  for (bool compact : {true, false}) {
    std::string first = json->Serialize(compact);
    std::unique_ptr<Json> again = parseOrFail(logger, first, name + " (serialized)");
    ASSERT_NE(again, nullptr) << name << ":\n" << first;
    EXPECT_EQ(again->Serialize(compact), first) << name;
  }
}

// Returns whether the text was accepted.
bool checkDocument(const TempDir& dir, const std::string& text, const std::string& name) {
  Logger logger(dir.File("log.txt"));
  auto begin = std::chrono::steady_clock::now();
  std::unique_ptr<Json> json = parseOrFail(&logger, text, name);
  EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::seconds(1)) << name;
  if (json != nullptr) {
    expectFixedPoint(&logger, json.get(), name);
  }
  return json != nullptr;
}

}  // namespace

TEST(JsonCorpus, AnswersEveryDocumentWithATreeOrADocumentedFailure) {
  if (!fs::is_directory(CORPUS)) {
    GTEST_SKIP() << "the JSON test corpus is not present";
  }
  TempDir dir;
  int documents = 0;
  int accepted = 0;
  for (const fs::directory_entry& entry : fs::directory_iterator(CORPUS)) {
    std::string name = entry.path().filename().string();
    std::string text = readFile(entry.path());
    accepted += checkDocument(dir, text, name);
    accepted += checkDocument(dir, "{\"k\":" + text + "}", name + " wrapped");
    documents += 2;
  }
  EXPECT_GT(documents, 0);
  EXPECT_GT(accepted, 0);
  std::cout << accepted << " of " << documents << " documents accepted\n";
}
