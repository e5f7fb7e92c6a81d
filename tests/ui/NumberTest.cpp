#include "ui/Number.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "ui/EntryTest.h"
#include "ui/Mouse.h"
#include "ui/NumberText.h"

namespace {
class NumberTest : public EntryTest {
 protected:
  // A field drawn from column 1 of the first row.
  template <typename T>
  std::unique_ptr<Number<T>> make(T value, int width = 8) {
    return std::make_unique<Number<T>>(log.Get(), "PortField", new Position(1, 0),
                                       new Size(width, 1), value);
  }
  // The text with the cursor after the keys reach a drawn and focused field; the text must
  // give the field's value.
  template <typename T>
  std::string typed(T initial, int precision, const std::string& keys) {
    Field::Insert = true;
    auto field = make<T>(initial, 12);
    field->SetPrecision(precision);
    field->Render();
    field->Focus();
    script(*field, keys);
    T shown{};
    if constexpr (std::is_same_v<T, int>)
      EXPECT_TRUE(NumberText::ParseInt(field->GetText(), &shown));
    else
      EXPECT_TRUE(NumberText::ParseDouble(field->GetText(), &shown));
    EXPECT_EQ(shown, field->GetValue()) << field->GetText();
    return withCursor(field->GetText(), field->GetCursor());
  }

  std::string row(int width = 8) const { return screen.Text(1, 0, width, 1); }
};
}  // namespace

TEST_F(NumberTest, AnIntegerFieldTakesOnlyDigitsItsValueCanHold) {
  // initial value, keys, the text with "|" at the cursor
  const std::tuple<int, std::string, std::string> cases[] = {
      {42, "{Home}0", "|42"},  // leading zeros vanish as typed
      {42, "{Home}01", "1|42"},
      {42, "{Home}.,{End},", "42|"},      // separators change nothing
      {0, "21474836479", "2147483647|"},  // digits that would overflow are refused
      {INT_MIN, "0", "-2147483648|"},
      {INT_MIN, "0{Bs}", "-214748364|"},
  };
  for (const auto& [initial, keys, shown] : cases)
    EXPECT_EQ(typed<int>(initial, 0, keys), shown) << keys;
}

TEST_F(NumberTest, ADoubleFieldShowsEveryDigitOfItsValue) {
  const std::tuple<double, std::string, std::string> cases[] = {
      {2.0, ".", "2.|0"},   // a typed point shows a zero, ready to be replaced
      {2.0, ",5", "2.5|"},  // a comma is a point
      {304.0, "{Home}.0", "0.0|304"},
      {304.0, "{Home}.0{End}{Bs}", "0.030|"},
      {304.0, "{Home}.0{End}{Bs}{Bs}{Bs}{Bs}", "0.|0"},  // the point alone shows one digit
      {304.0, "{Home}.0{End}{Bs}{Bs}{Bs}{Bs}{Bs}", "|0"},
      {2.5, ".", "2.5|"},  // a second point changes nothing, in either mode
      {2.5, "{Ins}{Home}{Right},7", "2.7|"},
      {0.0, ".1234567", "0.123456|"},      // no more digits than the shown text can hold
      {-1.5, "{Home}{Right}2", "-2|1.5"},  // a sign set by the program stays
  };
  for (const auto& [initial, keys, shown] : cases)
    EXPECT_EQ(typed<double>(initial, -1, keys), shown) << keys;
  EXPECT_EQ(typed<double>(2.0, 2, "{Home}1"), "1|2.00");
}

TEST_F(NumberTest, ConsumesSeparatorsButLeavesOtherKeysToTheWindow) {
  auto whole = make<int>(42);
  auto fraction = make<double>(2.5);
  for (int key : {'.', ','})
    EXPECT_TRUE(whole->OnKeyPress(key) && fraction->OnKeyPress(key)) << key;
  for (int key : {int('-'), int('a'), 9, 10, 27, KEY_UP, KEY_F(2), 0xD0})
    EXPECT_FALSE(whole->OnKeyPress(key) || fraction->OnKeyPress(key)) << key;
  EXPECT_THROW(whole->SetPrecision(2), const char*);
  EXPECT_NO_THROW(whole->SetPrecision(0));
}

TEST_F(NumberTest, ShowsTheValueRightAlignedAndMakesRoomForTheCursor) {
  auto field = make<int>(42, 6);
  field->Render();
  EXPECT_EQ(row(6) + "|" + look(5), "    42|4 3");
  field->Focus();
  EXPECT_EQ(row(6) + "|" + look(6), "   42 |  5 bold blink");
  field->OnKeyPress(KEY_LEFT);
  EXPECT_EQ(row(6) + "|" + look(5), "   42 |2 5 bold blink");
  field->Blur();
  EXPECT_EQ(row(6) + "|" + look(5), "    42|4 3");
}

TEST_F(NumberTest, ScrollsATextLongerThanTheField) {
  auto field = make<int>(1234567, 4);
  field->Render();
  std::vector<std::string> shown{row(4)};
  field->Focus();
  for (int key : {KEY_HOME, KEY_RIGHT, KEY_RIGHT, KEY_RIGHT, KEY_RIGHT, KEY_END}) {
    shown.push_back(row(4));
    field->OnKeyPress(key);
  }
  shown.push_back(row(4));
  EXPECT_EQ(shown, (std::vector<std::string>{"4567", "567 ", "1234", "1234", "1234", "1234", "2345",
                                             "567 "}));
}

TEST_F(NumberTest, TheTemporaryPrecisionEndsOnBlur) {
  auto field = make<double>(2.0);
  field->Render();
  field->Focus();
  script(*field, ".0");
  EXPECT_EQ(row(), "   2.00 ");
  field->Blur();
  EXPECT_EQ(row(), "       2");
  EXPECT_EQ(field->GetPrecision(), -1);
  field->Focus();
  script(*field, ",50");  // the zero after a digit vanishes
  EXPECT_EQ(field->GetText(), "2.5");
}

// The setter here refuses the typed value and shows the stored one again, as a port check does;
// the value refreshed while leaving the field is right-aligned.
TEST_F(NumberTest, ABindGivesTheValueAndTakesItOnBlur) {
  auto field = make<int>(0);
  std::vector<int> written;
  Number<int>* shown = field.get();
  field->SetBind([] { return 8090; },
                 [&](int value) {
                   written.push_back(value);
                   shown->Refresh();
                 });
  EXPECT_FALSE(field->IsModified());
  field->Render();
  field->Focus();
  script(*field, "1");
  EXPECT_EQ(row(), "  80901 ");
  EXPECT_TRUE(written.empty());
  field->Blur();
  EXPECT_EQ(written, std::vector<int>{80901});
  EXPECT_EQ(row(), "    8090");
  EXPECT_EQ(field->GetOffset(), -4);
}

TEST_F(NumberTest, AClickPutsTheCursorUnderThePointer) {
  auto field = make<int>(42, 6);
  field->Render();
  EXPECT_TRUE(field->OnMouseClick(screen.Click(2, 0).get()));
  EXPECT_TRUE(field->IsActive());
  EXPECT_EQ(field->GetCursor(), 0);
  EXPECT_FALSE(field->OnMouseClick(screen.Click(7, 0).get()));
}
