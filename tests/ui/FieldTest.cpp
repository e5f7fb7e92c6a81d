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
      {"", "d+.d+.d+.d+", "1..2x{Home}x{End}3.4.5.", "1.23.4.5|"},  // digits and single points
      {"abc", "", "{Ins}{End}{Left}xy", "abxy|"},                   // overwrite, then append
      {"ab", "", "{Right}" + Zhe + Ya, "a" + Zhe + Ya + "|b"},      // two bytes, one character
      {"ab", "", "\xD0{Left}\x96", "|ab"},        // a key between the two bytes breaks the pair
      {"", "", "\xD0\x85\xD0\x86", "\xD0\x86|"},  // Cyrillic Dze refused, I taken
  };
  for (const auto& [initial, mask, keys, shown] : cases) {
    Field::Insert = true;
    auto field = make(initial);
    field->SetMask(mask);
    script(*field, keys);
    EXPECT_EQ(withCursor(field->GetValue(), field->GetCursor()), shown) << keys;
  }
}

TEST_F(FieldTest, AClickPutsTheCursorUnderThePointerAndALongTextScrolls) {
  auto field = make("0123456789", 5);
  field->Render();
  EXPECT_TRUE(field->OnMouseClick(screen.Click(3, 0).get()));
  EXPECT_EQ(field->GetCursor(), 2);
  // key, times, the field with a column on each side, the cursor's column
  const std::tuple<int, int, std::string, int> steps[] = {
      {KEY_END, 1, " 6789  ", 5}, {KEY_LEFT, 6, " 45678 ", 1}, {'x', 1, " x4567 ", 2}};
  for (const auto& [key, times, shown, column] : steps) {
    for (int i = 0; i < times; ++i)
      field->OnKeyPress(key);
    EXPECT_EQ(screen.Text(0, 0, 7, 1), shown);
    EXPECT_EQ(screen.At(column, 0).pair, 5) << shown;
  }
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
}
