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

// An object holding one string.
std::unique_ptr<Json> withString(const std::string& key, const std::string& text) {
  auto root = std::make_unique<Json>(nullptr);
  Json* value = new Json(nullptr);
  value->SetString(text);
  root->SetItem(key, value);
  return root;
}

std::string joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines)
    text += line + "\n";
  return text;
}

}  // namespace

TEST(Json, ParsesEveryKindOfValueAndWritesItIndentedOrCompact) {
  auto json =
      parsed(R"({"b":[1,-2.5,"x"],"a":null,"B":{},"c":[],"d":1.5,"e":{"x":false},"t":true})");
  EXPECT_EQ(json->GetItem("b")->Parent(), json.get());
  EXPECT_EQ(json->GetItem("b")->GetItem(2)->GetString(), "x");
  EXPECT_EQ(json->GetItem("a")->GetType(), JsonObject);  // null is an object without keys
  EXPECT_EQ(json->GetItem("a")->GetItem("anything"), nullptr);
  EXPECT_EQ(json->Serialize(false),
            "{\n\t\"B\": {},\n\t\"a\": null,\n\t\"b\": [\n\t\t1,\n\t\t-2.500000,\n\t\t\"x\"\n\t],\n"
            "\t\"c\": [],\n\t\"d\": 1.500000,\n\t\"e\": {\n\t\t\"x\": false\n\t},\n"
            "\t\"t\": true\n}");
  EXPECT_EQ(json->Serialize(true),
            R"({"B":{},"a":null,"b":[1,-2.500000,"x"],"c":[],"d":1.500000,"e":{"x":false},)"
            R"("t":true})");
  EXPECT_EQ(parsed(json->Serialize(false))->Serialize(true), json->Serialize(true));
}

TEST(Json, ReadsAcceptedDocumentsAsTheirCompactForm) {
  // Integers at their limits, slashes and two-byte letters are written back as they were read.
  for (std::string text : {R"({"n":2147483647})", R"({"n":-2147483648})",
                           "{\"p\":\"/opt/a b?x=1\",\"\xD0\xB0\":\"\xD0\xB1\"}"})
    EXPECT_EQ(parsed(text)->Serialize(true), text);
  struct Case {
    const char* text;
    const char* compact;
  } cases[] = {
      {R"({"n":-0})", R"({"n":0})"},
      {R"({"n":0012})", R"({"n":12})"},
      {R"({"n":1.})", R"({"n":1.000000})"},
      {R"({"n":3000000000.5})", R"({"n":3000000000.500000})"},
      {R"({"a":1,})", R"({"a":1})"},
      {R"({"a":[1,]})", R"({"a":[1]})"},
      {"{} \t\r\n", "{}"},
      {R"({"a":1,"a":2})", R"({"a":2})"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(parsed(c.text)->Serialize(true), c.compact) << c.text;
}

TEST(Json, RejectsMalformedDocuments) {
  struct Case {
    const char* failure;
    std::vector<std::string> texts;
  } cases[] = {
      {"Expected Json object token", {"", " {}", "\xEF\xBB\xBF{}", "[]"}},
      {"Unexpected Json end",
       {"{", "{\"a", "{\"a\"", "{\"a\":", "{\"a\":1", "{\"a\":[1", "{\"a\":\"x\\\"}"}},
      {"Unexpected Json token",
       {"{} x", "{,}", "{a:1}", "{\"a\" 1}", "{\"a\"::1}", "{\"a\":1 2}", "{\"a\":[1,,2]}",
        "{\"a\":[1 2]}", "{\"a\":2147483648}", "{\"a\":-2147483649}",
        "{\"a\":99999999999999999999.5}", "{\"a\":1.2.3}", "{\"a\":.5}", "{\"a\":-}", "{\"a\":1e5}",
        "{\"a\":+1}", "{\"a\":nul}", "{\"a\":truex}"}},
  };
  for (const Case& c : cases) {
    for (const std::string& text : c.texts)
      EXPECT_EQ(failureOf(text), c.failure) << text;
  }
}

TEST(Json, RejectsNestingDeeperThan512LevelsAndLogsWhereParsingStopped) {
  EXPECT_EQ(failureOf("{\"a\":" + std::string(511, '[') + std::string(511, ']') + "}"), "");
  EXPECT_EQ(failureOf("{\"a\":" + std::string(512, '[') + std::string(512, ']') + "}"),
            "Unexpected Json token");

  LogCapture log;
  auto begin = std::chrono::steady_clock::now();
  EXPECT_THROW(Json(log.Get(), "{\"a\":" + std::string(100000, '[')), const char*);
  EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::seconds(5));
  EXPECT_EQ(log.Take().back(), "Json::parse nesting deeper than 512 levels at [0,516].");
  EXPECT_THROW(Json(log.Get(), "{\"a\":\n  12x}"), const char*);
  EXPECT_EQ(log.Take().back(), "Json::parse unexpected number token at [1,4].");
}

TEST(Json, TracesEveryTokenWithDecodedStrings) {
  LogCapture log;
  {
    Json json(log.Get(), R"({"b\"": [7, true],)"
                         "\n"
                         R"( "a": "x\"y", "c": null, "d": 0.5}  )");
  }
  EXPECT_EQ(joined(log.Take()), R"(Json::parse object definition at [0,0].
Json::parse parse key b".
Json::parse array definition at [0,8].
Json::parse integer value 7 at [0,10].
Json::parse append array item 0 at [0,10].
Json::parse true boolean value at [0,12].
Json::parse append array item 1 at [0,16].
Json::parse add key b" value.
Json::parse parse key a.
Json::parse string definition at [1,6].
Json::parse read string value: x"y.
Json::parse add key a value.
Json::parse parse key c.
Json::parse null object value at [1,19].
Json::parse add key c value.
Json::parse parse key d.
Json::parse double value 0.500000 at [1,33].
Json::parse add key d value.
Json::parse end of object definition at [1,33].
Json::parse index of end object 53.
Json object definition end at [1,34] index 53 total 55.
Json after char 32 code 32.
Json after char 32 code 32.
Json::clearData start for 4 object keys.
Json::clearData #a.
Json::clearData #a end.
Json::clearData #b".
Json::clearItems start for 2 items.
Json::clearItems #0.
Json::clearItems #0 end.
Json::clearItems #1.
Json::clearItems #1 end.
Json::clearData #b" end.
Json::clearData #c.
Json::clearData #c end.
Json::clearData #d.
Json::clearData #d end.
)");
}

TEST(Json, BoundsTheTraceOfADocumentButAlwaysLogsItsFailure) {
  LogCapture log;
  std::string items;
  for (int i = 0; i < 30000; ++i)
    items += "0,";
  {
    Json json(log.Get(),
              "{\"long\": \"" + std::string(1000, 'x') + "\", \"list\": [" + items + "0]}");
  }
  std::vector<std::string> lines = log.Take();
  ASSERT_EQ(lines.size(), 10001u);  // parse and clearing together
  EXPECT_EQ(lines[3],
            "Json::parse read string value: " + std::string(200, 'x') + "... (1000 bytes).");
  EXPECT_EQ(lines.back(),
            "Json trace stops after 10000 lines; the further trace lines of this document are left "
            "out.");
  EXPECT_THROW(Json(log.Get(), "{\"list\": [" + items + "x]}"), const char*);
  EXPECT_EQ(log.Take().back(), "Json::parse unexpected number token at [0,60010].");
}

TEST(Json, StringsSurviveSaveAndLoadByteForByte) {
  using namespace std::string_literals;
  const std::string samples[] = {
      "say \"hi\"",      "C:\\folder\\",   "\\",       "\\\"",
      "tab\there\nline", "\b\f\r\x01\x1f", "nul\0in"s, "\xD0\xB0\xD0\xB1 \xC3\xA9",
      "/slash"};
  for (const std::string& sample : samples) {
    std::unique_ptr<Json> root = withString(sample, sample);
    for (bool compact : {false, true}) {
      std::string text = root->Serialize(compact);
      auto loaded = parsed(text);
      EXPECT_EQ(loaded->GetItem(sample)->GetString(), sample) << text;
      EXPECT_EQ(loaded->Serialize(compact), text);
    }
  }
}

TEST(Json, WritesControlCharactersAsEscapes) {
  EXPECT_EQ(withString("k", "\"\\\n\t\b\f\r\x01\x7f")->Serialize(true),
            "{\"k\":\"\\\"\\\\\\n\\t\\b\\f\\r\\u0001\x7f\"}");
}

TEST(Json, DecodesEscapesAndKeepsUnknownBackslashes) {
  struct Case {
    const char* text;
    std::string value;
  } cases[] = {{R"(\"\\\/\b\f\n\r\t)", "\"\\/\b\f\n\r\t"},
               {R"(\u00e9\u0041)", "\xC3\xA9\x41"},
               {R"(\u20AC)", "\xE2\x82\xAC"},
               {R"(\ud83d\ude00)", "\xF0\x9F\x98\x80"},
               {R"(\ud800x)", R"(\ud800x)"},
               {R"(\ude00)", R"(\ude00)"},
               {R"(\u12)", R"(\u12)"},
               {R"(C:\data\q)", R"(C:\data\q)"}};
  for (const Case& c : cases)
    EXPECT_EQ(parsed(std::string("{\"k\":\"") + c.text + "\"}")->GetItem("k")->GetString(), c.value)
        << c.text;
}

TEST(Json, AccessorsConvertNumbersAndThrowForOtherKinds) {
  Json node(nullptr);
  EXPECT_EQ(Thrown([&] { node.GetBoolean(); }), "Invalid Json type bool");
  EXPECT_EQ(Thrown([&] { node.GetString(); }), "Invalid Json type string");
  EXPECT_EQ(Thrown([&] { node.AddItem(nullptr); }), "Invalid Json type operation AddItem");
  node.SetDouble(-3.7);
  EXPECT_EQ(node.GetInteger(), -3);
  node.SetDouble(1e12);
  EXPECT_EQ(node.GetInteger(), 2147483647);
  node.SetInteger(4);
  EXPECT_EQ(node.GetDouble(), 4.0);
  EXPECT_EQ(node.GetItem(0), nullptr);
  EXPECT_EQ(node.GetItem("k"), nullptr);
  EXPECT_EQ(Thrown([&] { node.SetItem("k", nullptr); }), "Invalid Json type operation SetItem");
}

TEST(Json, ChildrenAreCheckedAddedAndReplaced) {
  auto json = parsed(R"({"list":[1],"a":{"b":[1,2]},"n":null})");
  Json* list = json->GetItem("list");
  EXPECT_EQ(Thrown([&] { list->GetItem(1); }), "Out of range");
  EXPECT_EQ(Thrown([&] { list->GetItem(-1); }), "Out of range");
  EXPECT_EQ(Thrown([&] { json->GetItem("missing"); }), "Key not in a map");
  EXPECT_EQ(list->AddItem(new Json(nullptr)), 2);
  EXPECT_EQ(list->GetItem(1)->Parent(), list);
  Json* replaced = new Json(nullptr);
  replaced->SetBoolean(true);
  json->SetItem("a", replaced);  // the old subtree is released (checked by the sanitizers)
  json->SetItem("a", replaced);  // storing the same node again keeps it
  json->GetItem("n")->SetString("set");
  EXPECT_EQ(json->Serialize(true), R"({"a":true,"list":[1,{}],"n":"set"})");
  json->SetString("flat");
  EXPECT_EQ(json->Count(), 0);
  EXPECT_EQ(json->Serialize(true), "\"flat\"");
}

TEST(Json, WritesAPointWhateverTheLocale) {
  if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr)
    GTEST_SKIP() << "no locale with a decimal comma";
  std::string text = parsed(R"({"d":2.5})")->Serialize(true);
  std::setlocale(LC_NUMERIC, "C");
  EXPECT_EQ(text, R"({"d":2.500000})");
}
