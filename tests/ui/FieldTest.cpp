#include "ui/Field.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <tuple>
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
  // initial text, mask, keys, and the text with "|" at the cursor
  const std::array<std::string, 4> cases[] = {
      {"", "d+.d+.d+.d+", "1..2x", "1.2|"},  // digits and single points only
      {"", "d+.d+.d+.d+", "1.2{Home}x{Right}x{Right}x{Right}x3.4.5.", "1.23.4.5|"},
      {"abc", "", "{Ins}{End}{Left}xy", "abxy|"},               // overwrite, then append
      {"ab", "", "{Right}" + Zhe + Ya, "a" + Zhe + Ya + "|b"},  // two bytes, one character
      {"ab", "",
       "\xD0"
       "cd",
       "d|ab"},                             // a lead byte and no second byte: both are dropped
      {"ab", "", "\xD0{Left}\x96", "|ab"},  // a key between the two bytes breaks the pair
      {"a" + Zhe + "c", "", "{Bs}{Del}{End}{Del}{Bs}", Zhe + "|"},  // nothing to remove: kept
  };
  for (const auto& [initial, mask, keys, shown] : cases) {
    Field::Insert = true;
    auto field = make(initial);
    field->SetMask(mask);
    script(*field, keys);
    EXPECT_EQ(withCursor(field->GetValue(), field->GetCursor()), shown) << keys;
  }
}

TEST_F(FieldTest, LeavesKeysItCannotTypeToTheWindow) {
  auto field = make("ab");
  for (int key : {9, 10, 27, KEY_UP, KEY_F(1), KEY_BTAB, 0xE2, 0xD0})
    EXPECT_FALSE(field->OnKeyPress(key)) << key;
  EXPECT_TRUE(field->OnKeyPress(0x96));
  EXPECT_FALSE(field->OnKeyPress(static_cast<char>(0xD1)));  // as a signed char
  EXPECT_TRUE(field->OnKeyPress(0x8F));
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
}

TEST_F(FieldTest, AClickPutsTheCursorUnderThePointerAndALongTextScrolls) {
  auto field = make("0123456789", 5);
  field->Render();
  EXPECT_FALSE(field->OnMouseClick(screen.Click(7, 0).get()));
  EXPECT_TRUE(field->OnMouseClick(screen.Click(3, 0).get()));
  EXPECT_EQ(field->GetCursor(), 2);
  // key, times, the field with a column on each side, the cursor's column
  const std::tuple<int, int, std::string, int> steps[] = {{KEY_END, 1, " 6789  ", 5},
                                                          {KEY_LEFT, 6, " 45678 ", 1},
                                                          {KEY_HOME, 1, " 01234 ", 1},
                                                          {KEY_RIGHT, 5, " 12345 ", 5},
                                                          {'x', 1, " 234x5 ", 5}};
  for (const auto& [key, times, shown, column] : steps) {
    for (int i = 0; i < times; ++i)
      field->OnKeyPress(key);
    EXPECT_EQ(screen.Text(0, 0, 7, 1), shown);
    EXPECT_EQ(screen.At(column, 0).pair, 5) << shown;
  }
}

TEST_F(FieldTest, TheCursorBlinksInInsertModeAndIsUnderlinedInOverwriteMode) {
  auto field = make(Zhe + "b", 4);
  field->Render();
  field->Focus();
  EXPECT_EQ(look(1), "Ж 5 bold blink");
  EXPECT_TRUE(field->OnKeyPress(KEY_IC));
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
}
