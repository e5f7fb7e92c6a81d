#include "util/Json.h"

#include <gtest/gtest.h>

#include <chrono>
#include <clocale>
#include <memory>
#include <sstream>

#include "app/Logger.h"
#include "support/TempDir.h"

namespace {

// A logger over a temporary file whose messages can be read back without their time stamps.
class JsonLog {
 public:
  JsonLog() : logger(new Logger(dir.File("log.txt"))) {}
  Logger* get() { return logger.get(); }

  // Ends the log and returns its message lines, one per line.
  std::string Messages() {
    logger.reset();
    std::istringstream lines(dir.Read("log.txt"));
    std::string line;
    std::string messages;
    while (std::getline(lines, line)) {
      size_t mark = line.find(" > ");
      if (mark == 8) {
        messages += line.substr(mark + 3) + "\n";
      }
    }
    return messages;
  }

 private:
  TempDir dir;
  std::unique_ptr<Logger> logger;
};

std::string failureOf(const std::string& text) {
  try {
    Json json(nullptr, text);
  } catch (const char* message) {
    return message;
  }
  return "accepted";
}

std::unique_ptr<Json> parsed(const std::string& text) {
  return std::unique_ptr<Json>(new Json(nullptr, text));
}

}  // namespace

TEST(Json, ParsesEveryKindOfValue) {
  auto json = parsed(
      "{\"array\": [1, -2.5, \"x\"], \"yes\": true, \"no\": false, \"none\": null, "
      "\"int\": -7, \"object\": {\"inner\": 1.}}");
  EXPECT_EQ(json->Count(), 6);
  Json* array = json->GetItem("array");
  ASSERT_EQ(array->GetType(), JsonArray);
  EXPECT_EQ(array->Parent(), json.get());
  EXPECT_EQ(array->GetItem(0)->GetInteger(), 1);
  EXPECT_EQ(array->GetItem(1)->GetDouble(), -2.5);
  EXPECT_EQ(array->GetItem(2)->GetString(), "x");
  EXPECT_TRUE(json->GetItem("yes")->GetBoolean());
  EXPECT_FALSE(json->GetItem("no")->GetBoolean());
  EXPECT_EQ(json->GetItem("none")->GetType(), JsonObject);
  EXPECT_EQ(json->GetItem("none")->GetItem("anything"), nullptr);
  EXPECT_EQ(json->GetItem("none")->Serialize(true), "null");
  EXPECT_EQ(json->GetItem("int")->GetType(), JsonInteger);
  EXPECT_EQ(json->GetItem("object")->GetItem("inner")->GetType(), JsonDouble);
  EXPECT_EQ(json->GetItem("object")->GetItem("inner")->GetDouble(), 1.0);
}

TEST(Json, ReadsNumbersWithinTheirLimits) {
  struct Case {
    const char* text;
    JsonType type;
    double value;
  } cases[] = {
      {"7", JsonInteger, 7},
      {"-0", JsonInteger, 0},
      {"2147483647", JsonInteger, 2147483647},
      {"-2147483648", JsonInteger, -2147483648.0},
      {"1.25", JsonDouble, 1.25},
      {"0012", JsonInteger, 12},
      {"3000000000.5", JsonDouble, 3000000000.5},
  };
  for (const Case& c : cases) {
    auto json = parsed(std::string("{\"n\":") + c.text + "}");
    EXPECT_EQ(json->GetItem("n")->GetType(), c.type) << c.text;
    EXPECT_EQ(json->GetItem("n")->GetDouble(), c.value) << c.text;
  }
}

TEST(Json, RejectsMalformedDocuments) {
  struct Case {
    const char* text;
    const char* failure;
  } cases[] = {
      {" {}", "Expected Json object token"},
      {"\xEF\xBB\xBF{}", "Expected Json object token"},
      {"", "Expected Json object token"},
      {"[]", "Expected Json object token"},
      {"{} x", "Unexpected Json token"},
      {"{", "Unexpected Json end"},
      {"{,}", "Unexpected Json token"},
      {"{a:1}", "Unexpected Json token"},
      {"{\"a", "Unexpected Json end"},
      {"{\"a\"", "Unexpected Json end"},
      {"{\"a\" 1}", "Unexpected Json token"},
      {"{\"a\"::1}", "Unexpected Json token"},
      {"{\"a\":", "Unexpected Json end"},
      {"{\"a\":1", "Unexpected Json end"},
      {"{\"a\":1 2}", "Unexpected Json token"},
      {"{\"a\":[,1]}", "Unexpected Json token"},
      {"{\"a\":[1,,2]}", "Unexpected Json token"},
      {"{\"a\":[1 2]}", "Unexpected Json token"},
      {"{\"a\":[1", "Unexpected Json end"},
      {"{\"a\":\"x\\\"}", "Unexpected Json end"},
      {"{\"a\":2147483648}", "Unexpected Json token"},
      {"{\"a\":-2147483649}", "Unexpected Json token"},
      {"{\"a\":99999999999999999999.5}", "Unexpected Json token"},
      {"{\"a\":1.2.3}", "Unexpected Json token"},
      {"{\"a\":.5}", "Unexpected Json token"},
      {"{\"a\":-}", "Unexpected Json token"},
      {"{\"a\":1e5}", "Unexpected Json token"},
      {"{\"a\":+1}", "Unexpected Json token"},
      {"{\"a\":nul}", "Unexpected Json token"},
      {"{\"a\":truex}", "Unexpected Json token"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(failureOf(c.text), c.failure) << c.text;
  }
}

TEST(Json, AcceptsTrailingCommasAndTrailingWhiteSpace) {
  EXPECT_EQ(parsed("{\"a\":1,}")->Count(), 1);
  EXPECT_EQ(parsed("{\"a\":[1,]}")->GetItem("a")->Count(), 1);
  EXPECT_EQ(parsed("{} \t\r\n")->Count(), 0);
  EXPECT_EQ(parsed("{\"a\":1,\"a\":2}")->GetItem("a")->GetInteger(), 2);
}

TEST(Json, RejectsNestingDeeperThan512Levels) {
  std::string deepest = "{\"a\":" + std::string(511, '[') + std::string(511, ']') + "}";
  EXPECT_EQ(failureOf(deepest), "accepted");
  std::string tooDeep = "{\"a\":" + std::string(512, '[') + std::string(512, ']') + "}";
  EXPECT_EQ(failureOf(tooDeep), "Unexpected Json token");

  JsonLog log;
  auto begin = std::chrono::steady_clock::now();
  EXPECT_THROW(Json(log.get(), "{\"a\":" + std::string(100000, '[')), const char*);
  EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::seconds(5));
  EXPECT_NE(log.Messages().find("Json::parse nesting deeper than 512 levels at [0,516].\n"),
            std::string::npos);
}

TEST(Json, TracesEveryToken) {
  JsonLog log;
  { Json json(log.get(), "{\"b\": [7, true],\n \"a\": \"x\", \"c\": null, \"d\": 0.5}  "); }
  EXPECT_EQ(log.Messages(), R"(Json::parse object definition at [0,0].
Json::parse parse key b.
Json::parse array definition at [0,6].
Json::parse integer value 7 at [0,8].
Json::parse append array item 0 at [0,8].
Json::parse true boolean value at [0,10].
Json::parse append array item 1 at [0,14].
Json::parse add key b value.
Json::parse parse key a.
Json::parse string definition at [1,6].
Json::parse read string value: x.
Json::parse add key a value.
Json::parse parse key c.
Json::parse null object value at [1,16].
Json::parse add key c value.
Json::parse parse key d.
Json::parse double value 0.500000 at [1,30].
Json::parse add key d value.
Json::parse end of object definition at [1,30].
Json::parse index of end object 48.
Json object definition end at [1,31] index 48 total 50.
Json after char 32 code 32.
Json after char 32 code 32.
Json::clearData start for 4 object keys.
Json::clearData #a.
Json::clearData #a end.
Json::clearData #b.
Json::clearItems start for 2 items.
Json::clearItems #0.
Json::clearItems #0 end.
Json::clearItems #1.
Json::clearItems #1 end.
Json::clearData #b end.
Json::clearData #c.
Json::clearData #c end.
Json::clearData #d.
Json::clearData #d end.
)");
}

TEST(Json, LogsThePositionOfABadToken) {
  JsonLog log;
  EXPECT_THROW(Json(log.get(), "{\"a\":\n  12x}"), const char*);
  EXPECT_NE(log.Messages().find("Json::parse unexpected number token at [1,4].\n"),
            std::string::npos);
}

TEST(Json, SerializesIndentedAndCompact) {
  auto json = parsed("{\"b\":[1,2],\"a\":null,\"B\":{},\"c\":[],\"d\":1.5,\"e\":{\"x\":false}}");
  EXPECT_EQ(json->Serialize(false),
            "{\n"
            "\t\"B\": {},\n"
            "\t\"a\": null,\n"
            "\t\"b\": [\n"
            "\t\t1,\n"
            "\t\t2\n"
            "\t],\n"
            "\t\"c\": [],\n"
            "\t\"d\": 1.500000,\n"
            "\t\"e\": {\n"
            "\t\t\"x\": false\n"
            "\t}\n"
            "}");
  EXPECT_EQ(json->Serialize(true),
            R"({"B":{},"a":null,"b":[1,2],"c":[],"d":1.500000,"e":{"x":false}})");
  EXPECT_EQ(parsed(json->Serialize(false))->Serialize(true), json->Serialize(true));
}

TEST(Json, StringsSurviveSaveAndLoadByteForByte) {
  const std::string samples[] = {
      "say \"hi\"",
      "C:\\folder\\",
      "\\",
      "\\\"",
      "tab\there\nline",
      "\b\f\r\x01\x1f",
      std::string("nul\0in", 6),
      "\xD0\xB0\xD0\xB1 \xC3\xA9",
      "/slash",
  };
  for (const std::string& sample : samples) {
    Json root(nullptr);
    Json* value = new Json(nullptr);
    value->SetString(sample);
    root.SetItem(sample, value);
    for (bool compact : {false, true}) {
      std::string text = root.Serialize(compact);
      auto loaded = parsed(text);
      EXPECT_EQ(loaded->GetItem(sample)->GetString(), sample) << text;
      EXPECT_EQ(loaded->Serialize(compact), text);
    }
  }
}

TEST(Json, WritesControlCharactersAsEscapes) {
  Json root(nullptr);
  Json* value = new Json(nullptr);
  value->SetString("\"\\\n\t\b\f\r\x01\x7f");
  root.SetItem("k", value);
  EXPECT_EQ(root.Serialize(true), R"({"k":"\"\\\n\t\b\f\r\u0001)"
                                  "\x7f\"}");
}

TEST(Json, DecodesEscapesAndKeepsUnknownBackslashes) {
  struct Case {
    const char* text;
    std::string value;
  } cases[] = {
      {R"(\"\\\/\b\f\n\r\t)", "\"\\/\b\f\n\r\t"},
      {R"(\u00e9\u0041)",
       "\xC3\xA9"
       "A"},
      {R"(\u20AC)", "\xE2\x82\xAC"},
      {R"(\ud83d\ude00)", "\xF0\x9F\x98\x80"},
      {R"(\ud800x)", R"(\ud800x)"},
      {R"(\ude00)", R"(\ude00)"},
      {R"(\u12)", R"(\u12)"},
      {R"(C:\data\q)", R"(C:\data\q)"},
  };
  for (const Case& c : cases) {
    auto json = parsed(std::string("{\"k\":\"") + c.text + "\"}");
    EXPECT_EQ(json->GetItem("k")->GetString(), c.value) << c.text;
  }
}

TEST(Json, TracesTheDecodedStringValue) {
  JsonLog log;
  { Json json(log.get(), R"({"k\"ey":"a\"b"})"); }
  std::string messages = log.Messages();
  EXPECT_NE(messages.find("Json::parse parse key k\"ey.\n"), std::string::npos);
  EXPECT_NE(messages.find("Json::parse read string value: a\"b.\n"), std::string::npos);
}

TEST(Json, WritesAFileWithoutBackslashesAsItWas) {
  std::string text =
      "{\n\t\"Docker\": {\n\t\t\"Folder\": \"/opt/runtime\",\n\t\t\"Url\": "
      "\"https://host/a b.tar.gz?x=1\"\n\t},\n\t\"Name\": \"\xD0\xB0\xD0\xB1\"\n}";
  EXPECT_EQ(parsed(text)->Serialize(false), text);
}

TEST(Json, TypedAccessorsCheckTheKind) {
  Json node(nullptr);
  EXPECT_THROW(node.GetBoolean(), const char*);
  EXPECT_THROW(node.AddItem(nullptr), const char*);
  node.SetDouble(-3.7);
  EXPECT_EQ(node.GetInteger(), -3);
  node.SetDouble(1e12);
  EXPECT_EQ(node.GetInteger(), 2147483647);
  node.SetInteger(4);
  EXPECT_EQ(node.GetDouble(), 4.0);
  EXPECT_EQ(node.GetItem(0), nullptr);
  EXPECT_EQ(node.GetItem("k"), nullptr);
  try {
    node.GetString();
    FAIL();
  } catch (const char* message) {
    EXPECT_STREQ(message, "Invalid Json type string");
  }
  try {
    node.SetItem("k", nullptr);
    FAIL();
  } catch (const char* message) {
    EXPECT_STREQ(message, "Invalid Json type operation SetItem");
  }
}

TEST(Json, ItemAccessThrowsForMissingEntries) {
  auto json = parsed(R"({"list":[1]})");
  Json* list = json->GetItem("list");
  EXPECT_THROW(list->GetItem(1), const char*);
  EXPECT_THROW(list->GetItem(-1), const char*);
  EXPECT_EQ(list->AddItem(new Json(nullptr)), 2);
  EXPECT_EQ(list->GetItem(1)->Parent(), list);
  try {
    json->GetItem("missing");
    FAIL();
  } catch (const char* message) {
    EXPECT_STREQ(message, "Key not in a map");
  }
}

TEST(Json, SettersReplaceChildrenAndKind) {
  auto json = parsed(R"({"a":{"b":[1,2]},"n":null})");
  Json* replaced = new Json(nullptr);
  replaced->SetBoolean(true);
  json->SetItem("a", replaced);  // the old subtree is released (checked by the sanitizers)
  json->SetItem("a", replaced);  // storing the same node again keeps it
  EXPECT_TRUE(json->GetItem("a")->GetBoolean());
  json->GetItem("n")->SetString("set");
  EXPECT_EQ(json->Serialize(true), R"({"a":true,"n":"set"})");
  json->SetString("flat");
  EXPECT_EQ(json->Count(), 0);
  EXPECT_EQ(json->Serialize(true), "\"flat\"");
}

TEST(Json, WritesAPointWhateverTheLocale) {
  if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) {
    GTEST_SKIP() << "no locale with a decimal comma";
  }
  auto json = parsed(R"({"d":2.5})");
  std::string text = json->Serialize(true);
  std::setlocale(LC_NUMERIC, "C");
  EXPECT_EQ(text, R"({"d":2.500000})");
}
