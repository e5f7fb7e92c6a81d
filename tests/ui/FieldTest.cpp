#include "ui/Field.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/LogCapture.h"
#include "support/Screen.h"
#include "ui/Mouse.h"

namespace {
const std::string Zhe = "\xD0\x96";
const std::string Ya = "\xD1\x8F";

class FieldTest : public testing::Test {
 protected:
  void SetUp() override { Field::Insert = true; }
  void TearDown() override { Field::Insert = true; }

  std::unique_ptr<Field> make(const std::string& text, int width = 10) {
    return std::make_unique<Field>(log.Get(), "VersionField", new Position(1, 0),
                                   new Size(width, 1), text);
  }

  static void type(Field& field, const std::string& bytes) {
    for (char c : bytes)
      field.OnKeyPress(static_cast<unsigned char>(c));
  }

  Screen screen;
  LogCapture log;
};
}  // namespace

TEST_F(FieldTest, AVersionMaskTakesDigitsAndSinglePoints) {
  auto field = make("");
  field->SetMask("d+.d+.d+.d+");
  EXPECT_TRUE(field->OnKeyPress('1'));
  EXPECT_TRUE(field->OnKeyPress('.'));
  EXPECT_FALSE(field->OnKeyPress('.'));
  EXPECT_TRUE(field->OnKeyPress('2'));
  EXPECT_EQ(field->GetValue(), "1.2");
  for (int key : {KEY_HOME, KEY_RIGHT, KEY_RIGHT, KEY_RIGHT}) {
    EXPECT_FALSE(field->OnKeyPress('x'));
    field->OnKeyPress(key);
  }
  EXPECT_EQ(field->GetValue(), "1.2");
  type(*field, "3.4.5.");
  EXPECT_EQ(field->GetValue(), "1.23.4.5");
  field->SetValue("");
  field->SetMask("w+a");  // the "+" item takes both letters; "a" may stay unfilled
  type(*field, "xy");
  EXPECT_EQ(field->GetValue(), "xy");
  EXPECT_FALSE(field->OnKeyPress('1'));
}

TEST_F(FieldTest, SettingAMaskCutsTheTextAndTellsTheBind) {
  auto field = make("");
  std::string stored = "12a.5";
  std::vector<std::string> written;
  field->SetBind([&] { return stored; }, [&](std::string text) { written.push_back(text); });
  field->OnKeyPress(KEY_END);
  field->SetMask("d+.d+");
  EXPECT_EQ(field->GetValue(), "12");
  EXPECT_EQ(field->GetCursor(), 2);
  EXPECT_EQ(written, std::vector<std::string>{"12"});
  field->SetMask("");
  type(*field, "ab");
  EXPECT_EQ(field->GetValue(), "12ab");
  EXPECT_TRUE(LogCapture::InOrder(log.Take(), {"Field::SetBind on VersionField.",
                                               "Field::SetMask as d+.d+.", "Field::SetMask as ."}));
}

TEST_F(FieldTest, OverwriteReplacesTheLastCharacterAndAppendsAtTheEnd) {
  auto field = make("abc");
  Field::Insert = false;
  field->OnKeyPress(KEY_END);
  field->OnKeyPress(KEY_LEFT);
  field->OnKeyPress('x');
  EXPECT_EQ(field->GetValue(), "abx");
  field->OnKeyPress('y');
  EXPECT_EQ(field->GetValue(), "abxy");
  field->OnKeyPress(KEY_HOME);
  type(*field, Zhe);
  EXPECT_EQ(field->GetValue(), Zhe + "bxy");
  EXPECT_EQ(field->GetCursor(), 1);
}

TEST_F(FieldTest, ACyrillicLetterArrivesAsTwoBytesAndMovesTheCursorByOne) {
  auto field = make("ab");
  field->Render();
  field->Focus();
  field->OnKeyPress(KEY_RIGHT);
  EXPECT_FALSE(field->OnKeyPress(0xD0));  // held until its second byte comes
  EXPECT_EQ(field->GetValue(), "ab");
  EXPECT_TRUE(field->OnKeyPress(0x96));
  EXPECT_TRUE(field->OnKeyPress(static_cast<char>(0xD1)) == false);  // as a signed char
  EXPECT_TRUE(field->OnKeyPress(0x8F));
  EXPECT_EQ(field->GetValue(), "a" + Zhe + Ya + "b");
  EXPECT_EQ(field->GetCursor(), 3);
  EXPECT_EQ(screen.Text(1, 0, 5, 1), "aЖяb ");
  EXPECT_EQ(screen.At(4, 0).pair, 5);
}

TEST_F(FieldTest, RefusesWhatCannotBeTypedAndLetsOtherKeysThrough) {
  auto field = make("ab");
  for (int key : {9, 10, 27, 0, KEY_UP, KEY_DOWN, KEY_F(1), KEY_BTAB, 0xE2, 0x96})
    EXPECT_FALSE(field->OnKeyPress(key)) << key;
  field->OnKeyPress(0xD0);
  EXPECT_FALSE(field->OnKeyPress('c'));  // not the second byte of a letter: both are dropped
  EXPECT_TRUE(field->OnKeyPress('d'));
  field->OnKeyPress(0xD0);
  field->OnKeyPress(KEY_LEFT);  // a key between the two bytes breaks the pair
  EXPECT_FALSE(field->OnKeyPress(0x96));
  EXPECT_EQ(field->GetValue(), "dab");
  EXPECT_TRUE(Field::IsTypeChar("~") && Field::IsTypeChar("\xD0\x81"));
  EXPECT_FALSE(Field::IsTypeChar("\xD0\x82") || Field::IsTypeChar("\x7F"));
}

TEST_F(FieldTest, BackspaceAndDeleteRemoveAroundTheCursor) {
  auto field = make("a" + Zhe + "c");
  EXPECT_TRUE(field->OnKeyPress(127));  // at the start: nothing to remove, still consumed
  EXPECT_TRUE(field->OnKeyPress(KEY_DC));
  field->OnKeyPress(KEY_END);
  EXPECT_TRUE(field->OnKeyPress(KEY_DC));  // at the end: nothing under the cursor
  EXPECT_TRUE(field->OnKeyPress(127));
  EXPECT_EQ(field->GetValue(), Zhe);
  EXPECT_EQ(field->GetCursor(), 1);
}

TEST_F(FieldTest, ScrollsALongTextWithHomeEndAndArrows) {
  auto field = make("0123456789", 5);
  field->Render();
  field->Focus();
  EXPECT_EQ(screen.Text(0, 0, 7, 1), " 01234 ");
  field->OnKeyPress(KEY_END);
  EXPECT_EQ(screen.Text(0, 0, 7, 1), " 6789  ");
  EXPECT_EQ(screen.At(5, 0).pair, 5);
  for (int i = 0; i < 5; ++i)
    field->OnKeyPress(KEY_LEFT);
  EXPECT_EQ(screen.Text(1, 0, 5, 1), "56789");
  EXPECT_EQ(screen.At(1, 0).pair, 5);
  field->OnKeyPress(KEY_LEFT);
  EXPECT_EQ(screen.Text(1, 0, 5, 1), "45678");
  field->OnKeyPress(KEY_HOME);
  for (int i = 0; i < 5; ++i)
    field->OnKeyPress(KEY_RIGHT);
  EXPECT_EQ(screen.Text(1, 0, 5, 1), "12345");
  EXPECT_EQ(field->GetOffset(), 1);
  EXPECT_EQ(screen.At(5, 0).pair, 5);
  field->OnKeyPress('x');
  EXPECT_EQ(screen.Text(1, 0, 5, 1), "234x5");
}

TEST_F(FieldTest, TheCursorBlinksInInsertModeAndIsUnderlinedInOverwriteMode) {
  auto field = make("ab", 4);
  field->Render();
  EXPECT_EQ(screen.At(1, 0).pair, 3);  // no cursor without the focus
  field->Focus();
  Screen::Cell cursor = screen.At(1, 0);
  EXPECT_EQ(cursor.glyph, "a");
  EXPECT_EQ(cursor.pair, 5);
  EXPECT_TRUE(cursor.bold);
  EXPECT_TRUE(cursor.blink);
  EXPECT_FALSE(cursor.underline);
  EXPECT_TRUE(field->OnKeyPress(KEY_IC));
  EXPECT_FALSE(Field::Insert);
  cursor = screen.At(1, 0);
  EXPECT_TRUE(cursor.underline);
  EXPECT_FALSE(cursor.blink);
  EXPECT_EQ(screen.At(2, 0).pair, 3);
  field->Blur();
  EXPECT_EQ(screen.At(1, 0).pair, 3);
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
