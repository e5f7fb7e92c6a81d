#include "util/Json.h"

#include <gtest/gtest.h>

#include <chrono>
#include <clocale>
#include <memory>

#include "support/LogCapture.h"
#include "support/Thrown.h"

namespace {

std::string failureOf(const std::string& text) {
  return Thrown([&] { Json json(nullptr, text); });
}

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
      {R"({"n":-0})", R"({"n":0})"},
      {R"({"n":3000000000.5})", R"({"n":3000000000.500000})"},
      {R"({"a":1,})", R"({"a":1})"},
      {R"({"a":1,"a":2})", R"({"a":2})"}};
  for (const auto& [text, compact] : cases)
    EXPECT_EQ(parsed(text)->Serialize(true), compact) << text;
}

TEST(Json, RejectsMalformedDocuments) {
  std::pair<const char*, std::vector<std::string>> cases[] = {
      {"Expected Json object token", {"", " {}", "\xEF\xBB\xBF{}", "[]"}},
      {"Unexpected Json end", {"{", "{\"a\":", "{\"a\":[1", "{\"a\":\"x\\\"}"}},
      {"Unexpected Json token",
       {"{} x", "{a:1}", "{\"a\":[1,,2]}", "{\"a\":2147483648}", "{\"a\":1e5}", "{\"a\":nul}",
        "{\"a\":" + std::string(512, '[') + std::string(512, ']') + "}"}},
  };
  for (const auto& [failure, texts] : cases) {
    for (const std::string& text : texts)
      EXPECT_EQ(failureOf(text), failure) << text;
  }
}

TEST(Json, BoundsTheTraceOfADocumentButAlwaysLogsWhereParsingStopped) {
  LogCapture log;
  std::string items;
  for (int i = 0; i < 30000; ++i)
    items += "0,";
  Json(log.Get(), "{\"long\": \"" + std::string(1000, 'x') + "\", \"list\": [" + items + "0]}");
  std::vector<std::string> lines = log.Take();
  ASSERT_EQ(lines.size(), 10001u);  // parse and clearing together
  EXPECT_EQ(lines[3],
            "Json::parse read string value: " + std::string(200, 'x') + "... (1000 bytes).");
  EXPECT_THROW(Json(log.Get(), "{\"list\": [" + items + "x]}"), const char*);
  EXPECT_EQ(log.Take().back(), "Json::parse unexpected number token at [0,60010].");
  auto begin = std::chrono::steady_clock::now();
  EXPECT_THROW(Json(log.Get(), "{\"a\":" + std::string(100000, '[')), const char*);
  EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::seconds(5));
  EXPECT_EQ(log.Take().back(), "Json::parse nesting deeper than 512 levels at [0,516].");
}

TEST(Json, StringsSurviveSaveAndLoadByteForByte) {
  using namespace std::string_literals;
  const std::string samples[] = {"say \"hi\"", "C:\\folder\\", "tab\t\n\b\f\r\x01\x1f\x7f",
                                 "nul\0in"s, "\xD0\xB0\xD0\xB1 \xC3\xA9"};
  for (const std::string& sample : samples) {
    Json root(nullptr);
    Json* value = new Json(nullptr);
    value->SetString(sample);
    root.SetItem(sample, value);
    for (bool compact : {false, true}) {
      std::string text = root.Serialize(compact);
      EXPECT_EQ(parsed(text)->GetItem(sample)->GetString(), sample) << text;
      EXPECT_EQ(parsed(text)->Serialize(compact), text);
    }
  }
}

TEST(Json, DecodesEscapesAndKeepsUnknownBackslashes) {
  std::pair<const char*, std::string> cases[] = {{R"(\"\\\/\b\f\n\r\t)", "\"\\/\b\f\n\r\t"},
                                                 {R"(\u00e9\u20AC)", "\xC3\xA9\xE2\x82\xAC"},
                                                 {R"(\ud83d\ude00)", "\xF0\x9F\x98\x80"},
                                                 {R"(\ud800x)", R"(\ud800x)"},
                                                 {R"(C:\data\q)", R"(C:\data\q)"}};
  for (const auto& [text, value] : cases)
    EXPECT_EQ(parsed(std::string("{\"k\":\"") + text + "\"}")->GetItem("k")->GetString(), value)
        << text;
}

TEST(Json, AccessorsConvertNumbersAndThrowForOtherKinds) {
  Json node(nullptr);
  EXPECT_EQ(Thrown([&] { node.AddItem(nullptr); }), "Invalid Json type operation AddItem");
  node.SetDouble(1e12);
  EXPECT_EQ(node.GetInteger(), 2147483647);
  auto json = parsed(R"({"list":[1],"a":{"b":[1,2]},"n":null})");
  EXPECT_EQ(Thrown([&] { json->GetItem("list")->GetItem(1); }), "Out of range");
  EXPECT_EQ(Thrown([&] { json->GetItem("missing"); }), "Key not in a map");
  EXPECT_EQ(json->GetItem("list")->AddItem(new Json(nullptr)), 2);
  Json* replaced = new Json(nullptr);
  replaced->SetBoolean(true);
  json->SetItem("a", replaced);  // the old subtree is released (checked by the sanitizers)
  json->SetItem("a", replaced);  // storing the same node again keeps it
  EXPECT_EQ(json->Serialize(true), R"({"a":true,"list":[1,{}],"n":null})");
}

TEST(Json, WritesAPointWhateverTheLocale) {
  if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr)
    GTEST_SKIP() << "no locale with a decimal comma";
  std::string text = parsed(R"({"d":2.5})")->Serialize(true);
  std::setlocale(LC_NUMERIC, "C");
  EXPECT_EQ(text, R"({"d":2.500000})");
}
