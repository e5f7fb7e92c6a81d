#include "ui/Field.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/EntryTest.h"
#include "ui/Mouse.h"

namespace {
const std::string Zhe = "\xD0\x96";
const std::string Ya = "\xD1\x8F";

class FieldTest : public EntryTest {
 protected:
  std::unique_ptr<Field> make(const std::string& text, int width = 10) {
    return std::make_unique<Field>(log.Get(), "VersionField", new Position(1, 0),
                                   new Size(width, 1), text);
  }
};
}  // namespace

TEST_F(FieldTest, TypedKeysGiveTheTextAndTheCursor) {
  struct Case {
    std::string initial;
    std::string mask;
    std::string keys;
    std::string shown;  // "|" marks the cursor
  };
  const Case cases[] = {
      {"", "d+.d+.d+.d+", "1..2x", "1.2|"},  // digits and single points only
      {"", "d+.d+.d+.d+", "1.2{Home}x{Right}x{Right}x{Right}x3.4.5.", "1.23.4.5|"},
      {"abc", "", "{Ins}{End}{Left}x", "abx|"},    // overwrite at the last character
      {"abc", "", "{Ins}{End}{Left}xy", "abxy|"},  // and at the end
      {"abc", "", "{Ins}" + Zhe, Zhe + "|bc"},
      {"ab", "", "{Right}" + Zhe + Ya, "a" + Zhe + Ya + "|b"},  // two bytes, one character
      {"ab", "",
       "\xD0"
       "cd",
       "d|ab"},                             // a lead byte and no second byte: both are dropped
      {"ab", "", "\xD0{Left}\x96", "|ab"},  // a key between the two bytes breaks the pair
      {"a" + Zhe + "c", "", "{Bs}{Del}{End}{Del}{Bs}", Zhe + "|"},  // nothing to remove: kept
  };
  for (const Case& test : cases) {
    Field::Insert = true;
    auto field = make(test.initial);
    field->SetMask(test.mask);
    script(*field, test.keys);
    EXPECT_EQ(withCursor(field->GetValue(), field->GetCursor()), test.shown) << test.keys;
  }
}

TEST_F(FieldTest, LeavesKeysItCannotTypeToTheWindow) {
  auto field = make("ab");
  for (int key : {9, 10, 27, 0, KEY_UP, KEY_DOWN, KEY_F(1), KEY_BTAB, 0xE2, 0x96, 0xD0})
    EXPECT_FALSE(field->OnKeyPress(key)) << key;
  EXPECT_TRUE(field->OnKeyPress(0x96));
  EXPECT_FALSE(field->OnKeyPress(static_cast<char>(0xD1)));  // as a signed char
  EXPECT_TRUE(field->OnKeyPress(0x8F));
  for (int key : {127, KEY_DC, KEY_HOME})
    EXPECT_TRUE(field->OnKeyPress(key)) << key;
  EXPECT_TRUE(Field::IsTypeChar("~") && Field::IsTypeChar("\xD0\x81"));
  EXPECT_FALSE(Field::IsTypeChar("\xD0\x82") || Field::IsTypeChar("\x7F"));
}

TEST_F(FieldTest, SettingAMaskCutsTheTextAndTellsTheBind) {
  auto field = make("");
  std::vector<std::string> written;
  field->SetBind([] { return "12a.5"; }, [&](std::string text) { written.push_back(text); });
  field->OnKeyPress(KEY_END);
  field->SetMask("d+.d+");
  EXPECT_EQ(withCursor(field->GetValue(), field->GetCursor()), "12|");
  EXPECT_EQ(written, std::vector<std::string>{"12"});
  field->SetMask("");
  script(*field, "ab");
  EXPECT_EQ(field->GetValue(), "12ab");
  EXPECT_TRUE(LogCapture::InOrder(log.Take(), {"Field::SetBind on VersionField.",
                                               "Field::SetMask as d+.d+.", "Field::SetMask as ."}));
}

TEST_F(FieldTest, ScrollsALongTextWithHomeEndAndArrows) {
  struct Step {
    int key;
    int times;
    std::string shown;  // the field with a column on each side
    int cursorColumn;
  };
  const Step steps[] = {
      {KEY_HOME, 1, " 01234 ", 1}, {KEY_END, 1, " 6789  ", 5},  {KEY_LEFT, 5, " 56789 ", 1},
      {KEY_LEFT, 1, " 45678 ", 1}, {KEY_HOME, 1, " 01234 ", 1}, {KEY_RIGHT, 5, " 12345 ", 5},
      {'x', 1, " 234x5 ", 5},
  };
  auto field = make("0123456789", 5);
  field->Render();
  field->Focus();
  for (const Step& step : steps) {
    for (int i = 0; i < step.times; ++i)
      field->OnKeyPress(step.key);
    EXPECT_EQ(screen.Text(0, 0, 7, 1), step.shown);
    EXPECT_EQ(screen.At(step.cursorColumn, 0).pair, 5) << step.shown;
  }
}

TEST_F(FieldTest, TheCursorBlinksInInsertModeAndIsUnderlinedInOverwriteMode) {
  auto field = make(Zhe + "b", 4);
  field->Render();
  EXPECT_EQ(look(1), "Ж 3");  // no cursor without the focus
  field->Focus();
  EXPECT_EQ(look(1), "Ж 5 bold blink");
  EXPECT_TRUE(field->OnKeyPress(KEY_IC));
  EXPECT_FALSE(Field::Insert);
  EXPECT_EQ(look(1) + ", " + look(2), "Ж 5 bold underline, b 3");
  field->Blur();
  EXPECT_EQ(look(1), "Ж 3");
}

TEST_F(FieldTest, BlurValidatesCallsTheHandlerAndWritesTheBind) {
  auto field = make("1.x");
  std::string stored = "1";
  std::vector<std::string> calls;
  field->SetBind([&] { return stored; },
                 [&](std::string text) {
                   calls.push_back("set " + text);
                   stored = text;
                 });
  field->SetChangeHandler([&](Field* changed, std::string text) {
    calls.push_back("handler " + text);
    changed->SetValue(text + ".0");  // as a repairing handler does
  });
  field->Focus();
  field->Blur();
  EXPECT_EQ(calls, (std::vector<std::string>{"handler 1", "set 1.0", "set 1.0"}));
  EXPECT_EQ(field->GetValue(), "1.0");
  EXPECT_TRUE(field->IsModified());
}

TEST_F(FieldTest, AFailingHandlerIsLoggedAndTheFocusStillLeaves) {
  auto field = make("a");
  field->SetChangeHandler([](Field*, std::string) { throw "Broken handler"; });
  field->Focus();
  EXPECT_NO_THROW(field->Blur());
  EXPECT_FALSE(field->IsActive());
  EXPECT_TRUE(
      LogCapture::InOrder(log.Take(), {"Field::Blur VersionField exception:", "Broken handler"}));
}

TEST_F(FieldTest, AClickPutsTheCursorUnderThePointer) {
  auto field = make("0123456789", 5);
  field->Render();
  EXPECT_TRUE(field->OnMouseClick(screen.Click(3, 0).get()));
  EXPECT_TRUE(field->IsActive());
  EXPECT_EQ(field->GetCursor(), 2);
  field->OnKeyPress(KEY_END);
  EXPECT_TRUE(field->OnMouseClick(screen.Click(5, 0).get()));
  EXPECT_EQ(field->GetCursor(), 10);
  EXPECT_FALSE(field->OnMouseClick(screen.Click(7, 0).get()));
}
