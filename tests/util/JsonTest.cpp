#include "util/Json.h"

#include <gtest/gtest.h>

#include <memory>

#include "support/LogCapture.h"
#include "support/Thrown.h"

namespace {

std::unique_ptr<Json> parsed(const std::string& text) {
  return std::make_unique<Json>(nullptr, text);
}

}  // namespace

TEST(Json, ReadsAcceptedDocumentsAsTheirCompactForm) {
  std::string deep = "{\"a\":" + std::string(511, '[') + std::string(511, ']') + "}";
  std::pair<std::string, std::string> cases[] = {
      {deep, deep},
      {R"({"b":[1,-2.5,"x"],"a":null,"B":{},"c":[],"e":{"x":false},"t":true})",
       R"({"B":{},"a":null,"b":[1,-2.500000,"x"],"c":[],"e":{"x":false},"t":true})"},
      {R"({"a":1,"a":2})", R"({"a":2})"}};
  for (const auto& [text, compact] : cases)
    EXPECT_EQ(parsed(text)->Serialize(true), compact) << text;
}

TEST(Json, RejectsMalformedDocuments) {
  std::pair<const char*, std::vector<std::string>> cases[] = {
      {"Expected Json object token", {"", "[]"}},
      {"Unexpected Json end", {"{\"a\":[1", "{\"a\":\"x\\\"}"}},
      {"Unexpected Json token",
       {"{a:1}", "{\"a\":2147483648}",
        "{\"a\":" + std::string(512, '[') + std::string(512, ']') + "}",
        "{\"a\":" + std::string(100000, '[')}},
  };
  for (const auto& [failure, texts] : cases) {
    for (const std::string& text : texts)
      EXPECT_EQ(Thrown([&] { Json json(nullptr, text); }), failure) << text.substr(0, 20);
  }
}

TEST(Json, StringsSurviveSaveAndLoadByteForByte) {
  using namespace std::string_literals;
  const std::string samples[] = {"say \"hi\" C:\\folder\\", "tab\t\n\b\f\r\x01\x1f\x7f", "nul\0in"s,
                                 "\xD0\xB0\xD0\xB1 \xC3\xA9"};
  for (const std::string& sample : samples) {
    Json root(nullptr);
    Json* value = new Json(nullptr);
    value->SetString(sample);
    root.SetItem(sample, value);
    std::string text = root.Serialize(false);
    EXPECT_EQ(parsed(text)->GetItem(sample)->GetString(), sample) << text;
  }
}

TEST(Json, DecodesEscapesAndKeepsUnknownBackslashes) {
  std::pair<const char*, std::string> cases[] = {{R"(\u00e9\u20AC)", "\xC3\xA9\xE2\x82\xAC"},
                                                 {R"(\ud83d\ude00)", "\xF0\x9F\x98\x80"},
                                                 {R"(\uD800\uDC00)", "\xF0\x90\x80\x80"},
                                                 {R"(\uDBFF\uDFFF)", "\xF4\x8F\xBF\xBF"},
                                                 {R"(\uD800x)", R"(\uD800x)"},
                                                 {R"(\u007f\u0080)", "\x7F\xC2\x80"},
                                                 {R"(C:\data\q)", R"(C:\data\q)"}};
  for (const auto& [text, value] : cases)
    EXPECT_EQ(parsed(std::string("{\"k\":\"") + text + "\"}")->GetItem("k")->GetString(), value)
        << text;
}

// The log names where a settings file went wrong, so the administrator can find the place.
TEST(Json, LogsTheLineAndColumnOfAMalformedToken) {
  LogCapture log;
  EXPECT_EQ(Thrown([&] { Json json(log.Get(), "{\"a\":\n[1,\n  x]}"); }), "Unexpected Json token");
  EXPECT_TRUE(LogCapture::InOrder(log.Take(), {"Json::parse unexpected number token at [2,2]."}));
}

// A huge document logs at most 10000 trace lines, then says once that the rest is left out.
TEST(Json, StopsItsTraceAfterTenThousandLinesAndSaysSo) {
  LogCapture log;
  std::string items;
  for (int i = 0; i < 10000; ++i)
    items += "1,";
  Json json(log.Get(), "{\"a\":[" + items + "1]}");
  std::vector<std::string> lines = log.Take();
  ASSERT_EQ(lines.size(), 10001u);
  EXPECT_EQ(lines.back().substr(0, 28), "Json trace stops after 10000");
}

// An absent key: GetItem throws, FindItem answers null; neither looks into a value that is not
// an object.
TEST(Json, FindsItemsWithoutThrowingWhereGetItemThrows) {
  auto root = parsed(R"({"a":{"b":1},"s":"x"})");
  EXPECT_EQ(root->FindItem("a")->FindItem("b")->GetInteger(), 1);
  EXPECT_EQ(root->FindItem("missing"), nullptr);
  EXPECT_EQ(root->FindItem("s")->FindItem("b"), nullptr);
  EXPECT_THROW(root->GetItem("missing"), const char*);
}
