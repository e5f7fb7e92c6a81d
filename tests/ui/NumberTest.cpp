#include "ui/Number.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>
#include <vector>

#include "support/LogCapture.h"
#include "support/Screen.h"
#include "ui/Field.h"
#include "ui/Mouse.h"

namespace {
class NumberTest : public testing::Test {
 protected:
  void SetUp() override { Field::Insert = true; }
  void TearDown() override { Field::Insert = true; }

  template <typename T>
  std::unique_ptr<Number<T>> make(T value, int width = 8) {
    return std::make_unique<Number<T>>(log.Get(), "PortField", new Position(1, 0),
                                       new Size(width, 1), value);
  }

  // Types the keys into the focused, drawn field.
  template <typename T>
  static void type(Number<T>& field, const std::string& keys) {
    for (char c : keys)
      EXPECT_TRUE(field.OnKeyPress(c)) << c;
  }

  template <typename T>
  static void start(Number<T>& field) {
    field.Render();
    field.Focus();
  }

  std::string row(int width = 8) const { return screen.Text(1, 0, width, 1); }

  Screen screen;
  LogCapture log;
};
}  // namespace

TEST_F(NumberTest, ShowsTheValueRightAlignedAndMakesRoomForTheCursor) {
  auto field = make<int>(42, 6);
  field->Render();
  EXPECT_EQ(row(6), "    42");
  EXPECT_EQ(screen.At(5, 0).pair, 3);
  field->Focus();
  EXPECT_EQ(row(6), "   42 ");
  EXPECT_EQ(screen.At(6, 0).pair, 5);
  EXPECT_TRUE(screen.At(6, 0).blink);
  field->OnKeyPress(KEY_LEFT);
  EXPECT_EQ(row(6), "   42 ");
  EXPECT_EQ(screen.At(5, 0).glyph, "2");
  EXPECT_EQ(screen.At(5, 0).pair, 5);
  field->OnKeyPress(KEY_IC);
  EXPECT_TRUE(screen.At(5, 0).underline);
  EXPECT_FALSE(screen.At(5, 0).blink);
  field->Blur();
  EXPECT_EQ(row(6), "    42");
  EXPECT_EQ(screen.At(5, 0).pair, 3);
}

TEST_F(NumberTest, ScrollsATextLongerThanTheField) {
  auto field = make<int>(1234567, 4);
  field->Render();
  EXPECT_EQ(row(4), "4567");
  field->Focus();
  EXPECT_EQ(row(4), "567 ");
  field->OnKeyPress(KEY_HOME);
  EXPECT_EQ(row(4), "1234");
  EXPECT_EQ(screen.At(1, 0).pair, 5);
  for (int i = 0; i < 4; ++i)
    field->OnKeyPress(KEY_RIGHT);
  EXPECT_EQ(row(4), "2345");
  field->OnKeyPress(KEY_END);
  EXPECT_EQ(row(4), "567 ");
}

TEST_F(NumberTest, LeadingZerosVanishAsTheyAreTyped) {
  auto field = make<int>(42, 6);
  start(*field);
  field->OnKeyPress(KEY_HOME);
  type(*field, "0");
  EXPECT_EQ(field->GetValue(), 42);
  EXPECT_EQ(row(6), "    42");
  EXPECT_EQ(screen.At(5, 0).pair, 5);
  type(*field, "1");
  EXPECT_EQ(field->GetValue(), 142);
  EXPECT_EQ(row(6), "   142");
  EXPECT_EQ(screen.At(5, 0).glyph, "4");
  EXPECT_EQ(screen.At(5, 0).pair, 5);
}

TEST_F(NumberTest, AnIntegerFieldConsumesSeparatorsAndChangesNothing) {
  auto field = make<int>(42);
  start(*field);
  for (bool insert : {true, false}) {
    Field::Insert = insert;
    field->OnKeyPress(KEY_HOME);
    EXPECT_NO_THROW(type(*field, ".,"));
    field->OnKeyPress(KEY_END);
    EXPECT_NO_THROW(type(*field, ","));
  }
  EXPECT_EQ(field->GetValue(), 42);
  EXPECT_EQ(field->GetText(), "42");
  EXPECT_THROW(field->SetPrecision(2), const char*);
  EXPECT_NO_THROW(field->SetPrecision(0));
}

TEST_F(NumberTest, AnIntegerFieldStopsTakingDigitsThatWouldOverflow) {
  auto field = make<int>(0, 12);
  start(*field);
  type(*field, "21474836479");
  EXPECT_EQ(field->GetValue(), INT_MAX);
  field->OnKeyPress(KEY_HOME);
  type(*field, "1");
  EXPECT_EQ(field->GetValue(), INT_MAX);
  field->SetValue(INT_MIN);
  type(*field, "0");
  EXPECT_EQ(field->GetValue(), INT_MIN);
  field->OnKeyPress(127);
  EXPECT_EQ(field->GetValue(), -214748364);
  EXPECT_EQ(row(12), " -214748364 ");
}

TEST_F(NumberTest, APointTypedIntoAnAutomaticFractionStaysVisibleUntilBlur) {
  auto field = make<double>(2.0);
  start(*field);
  type(*field, ".");
  EXPECT_EQ(row(), "    2.0 ");
  EXPECT_EQ(screen.At(7, 0).pair, 5);  // on the shown zero, ready to replace it
  type(*field, "0");
  EXPECT_EQ(row(), "   2.00 ");
  EXPECT_EQ(field->GetValue(), 2.0);
  field->Blur();
  EXPECT_EQ(row(), "       2");
  EXPECT_EQ(field->GetPrecision(), -1);
  field->Focus();
  type(*field, ",");
  EXPECT_EQ(field->GetText(), "2.0");
  type(*field, "5");
  EXPECT_EQ(field->GetText(), "2.5");
  EXPECT_EQ(field->GetValue(), 2.5);
  type(*field, "0");  // no temporary precision: the zero vanishes
  EXPECT_EQ(field->GetText(), "2.5");
}

TEST_F(NumberTest, TheTemporaryPrecisionNeverHidesDigitsOfTheValue) {
  auto field = make<double>(304.0);
  start(*field);
  field->OnKeyPress(KEY_HOME);
  type(*field, ".");
  EXPECT_DOUBLE_EQ(field->GetValue(), 0.304);
  EXPECT_EQ(field->GetText(), "0.304");
  EXPECT_EQ(field->GetCursor(), 2);
  type(*field, "0");
  EXPECT_EQ(field->GetText(), "0.0304");
  field->OnKeyPress(KEY_END);
  field->OnKeyPress(127);
  field->OnKeyPress(127);
  EXPECT_EQ(field->GetText(), "0.03");
  field->OnKeyPress(127);
  EXPECT_EQ(field->GetText(), "0.0");
  field->OnKeyPress(127);  // the point alone still shows one fraction digit
  EXPECT_EQ(field->GetText(), "0.0");
  EXPECT_EQ(field->GetCursor(), 2);
  field->OnKeyPress(127);
  EXPECT_EQ(field->GetText(), "0");
  EXPECT_EQ(field->GetValue(), 0.0);
}

TEST_F(NumberTest, ASecondPointIsConsumedAndChangesNothingInEitherMode) {
  auto field = make<double>(2.5);
  start(*field);
  EXPECT_NO_THROW(type(*field, "."));
  Field::Insert = false;
  field->OnKeyPress(KEY_HOME);
  EXPECT_NO_THROW(type(*field, ","));
  EXPECT_EQ(field->GetText(), "2.5");
  EXPECT_EQ(field->GetValue(), 2.5);
  field->OnKeyPress(KEY_RIGHT);
  type(*field, ",");  // over the point itself: still one point
  EXPECT_EQ(field->GetValue(), 2.5);
  type(*field, "7");
  EXPECT_EQ(field->GetText(), "2.7");
}

TEST_F(NumberTest, RefusesFractionDigitsThatTheShownTextCouldNotHold) {
  auto field = make<double>(0.0, 12);
  start(*field);
  type(*field, ".1234567");
  EXPECT_EQ(field->GetText(), "0.123456");
  EXPECT_DOUBLE_EQ(field->GetValue(), 0.123456);
  field->SetPrecision(2);
  field->SetValue(2.0);
  EXPECT_EQ(row(12), "       2.00 ");
  type(*field, "5");
  EXPECT_EQ(field->GetText(), "2.00");
  field->OnKeyPress(KEY_HOME);
  type(*field, "1");
  EXPECT_EQ(field->GetValue(), 12.0);
  EXPECT_EQ(field->GetText(), "12.00");
}

TEST_F(NumberTest, LeavesOtherKeysToTheWindowAndKeepsAProgramSetSign) {
  auto field = make<double>(-1.5);
  for (int key : {int('-'), int('a'), 9, 10, 27, KEY_UP, KEY_F(2), 0xD0})
    EXPECT_FALSE(field->OnKeyPress(key)) << key;
  field->OnKeyPress(KEY_HOME);
  field->OnKeyPress(KEY_RIGHT);
  type(*field, "2");
  EXPECT_EQ(field->GetValue(), -21.5);
}

TEST_F(NumberTest, ABindGivesTheValueAndTakesItOnBlur) {
  auto field = make<int>(0);
  int stored = 8080;
  std::vector<int> written;
  field->SetBind([&] { return stored; }, [&](int value) { written.push_back(value); });
  EXPECT_EQ(field->GetValue(), 8080);
  EXPECT_FALSE(field->IsModified());
  start(*field);
  type(*field, "1");
  EXPECT_TRUE(written.empty());
  field->Blur();
  EXPECT_EQ(written, std::vector<int>{80801});
  EXPECT_TRUE(field->IsModified());
  stored = 7;
  field->Refresh();
  EXPECT_EQ(row(), "       7");
  EXPECT_TRUE(LogCapture::InOrder(log.Take(), {"Number::SetBind on PortField."}));
}

TEST_F(NumberTest, AClickPutsTheCursorUnderThePointer) {
  auto field = make<int>(42, 6);
  field->Render();
  EXPECT_TRUE(field->OnMouseClick(screen.Click(5, 0).get()));
  EXPECT_TRUE(field->IsActive());
  EXPECT_EQ(field->GetCursor(), 0);
  EXPECT_EQ(row(6), "    42");
  EXPECT_EQ(screen.At(5, 0).pair, 5);
  EXPECT_TRUE(field->OnMouseClick(screen.Click(2, 0).get()));
  EXPECT_EQ(field->GetCursor(), 0);
  EXPECT_FALSE(field->OnMouseClick(screen.Click(7, 0).get()));
}
