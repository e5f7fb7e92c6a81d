#include "ui/Number.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>
#include <vector>

#include "ui/EntryTest.h"
#include "ui/Mouse.h"

namespace {
class NumberTest : public EntryTest {
 protected:
  // A field drawn from column 1 of the first row; started ones are drawn and focused.
  template <typename T>
  std::unique_ptr<Number<T>> make(T value, int width = 8, bool started = false) {
    auto field = std::make_unique<Number<T>>(log.Get(), "PortField", new Position(1, 0),
                                             new Size(width, 1), value);
    if (started) {
      field->Render();
      field->Focus();
    }
    return field;
  }
  template <typename T>
  std::unique_ptr<Number<T>> started(T value, int width = 8) {
    return make(value, width, true);
  }

  std::string row(int width = 8) const { return screen.Text(1, 0, width, 1); }
};
}  // namespace

TEST_F(NumberTest, ShowsTheValueRightAlignedAndMakesRoomForTheCursor) {
  auto field = make<int>(42, 6);
  field->Render();
  EXPECT_EQ(row(6) + "|" + look(5), "    42|4 3");
  field->Focus();
  EXPECT_EQ(row(6) + "|" + look(6), "   42 |  5 bold blink");
  field->OnKeyPress(KEY_LEFT);
  EXPECT_EQ(row(6) + "|" + look(5), "   42 |2 5 bold blink");
  field->OnKeyPress(KEY_IC);
  EXPECT_EQ(look(5), "2 5 bold underline");
  field->Blur();
  EXPECT_EQ(row(6) + "|" + look(5), "    42|4 3");
}

TEST_F(NumberTest, ScrollsATextLongerThanTheField) {
  auto field = make<int>(1234567, 4);
  field->Render();
  std::vector<std::string> shown{row(4)};
  field->Focus();
  shown.push_back(row(4));
  for (int key : {KEY_HOME, KEY_RIGHT, KEY_RIGHT, KEY_RIGHT, KEY_RIGHT, KEY_END}) {
    field->OnKeyPress(key);
    shown.push_back(row(4));
  }
  EXPECT_EQ(shown, (std::vector<std::string>{"4567", "567 ", "1234", "1234", "1234", "1234", "2345",
                                             "567 "}));
}

TEST_F(NumberTest, LeadingZerosVanishAsTheyAreTyped) {
  auto field = started<int>(42, 6);
  field->OnKeyPress(KEY_HOME);
  EXPECT_EQ(consumed(*field, "0"), "0");
  EXPECT_EQ(field->GetValue(), 42);
  EXPECT_EQ(row(6) + "|" + look(5), "    42|4 5 bold blink");
  consumed(*field, "1");
  EXPECT_EQ(field->GetValue(), 142);
  EXPECT_EQ(row(6) + "|" + look(5), "   142|4 5 bold blink");
}

TEST_F(NumberTest, AnIntegerFieldConsumesSeparatorsAndChangesNothing) {
  auto field = started<int>(42);
  for (bool insert : {true, false}) {
    Field::Insert = insert;
    field->OnKeyPress(KEY_HOME);
    EXPECT_EQ(consumed(*field, ".,"), ".,");
    field->OnKeyPress(KEY_END);
    EXPECT_EQ(consumed(*field, ","), ",");
  }
  EXPECT_EQ(field->GetValue(), 42);
  EXPECT_EQ(field->GetText(), "42");
  EXPECT_THROW(field->SetPrecision(2), const char*);
  EXPECT_NO_THROW(field->SetPrecision(0));
}

TEST_F(NumberTest, AnIntegerFieldStopsTakingDigitsThatWouldOverflow) {
  auto field = started<int>(0, 12);
  consumed(*field, "21474836479");
  EXPECT_EQ(field->GetValue(), INT_MAX);
  field->OnKeyPress(KEY_HOME);
  consumed(*field, "1");
  EXPECT_EQ(field->GetValue(), INT_MAX);
  field->SetValue(INT_MIN);
  consumed(*field, "0");
  EXPECT_EQ(field->GetValue(), INT_MIN);
  field->OnKeyPress(127);
  EXPECT_EQ(field->GetValue(), -214748364);
  EXPECT_EQ(row(12), " -214748364 ");
}

TEST_F(NumberTest, APointTypedIntoAnAutomaticFractionStaysVisibleUntilBlur) {
  auto field = started<double>(2.0);
  consumed(*field, ".");
  EXPECT_EQ(row() + "|" + look(7), "    2.0 |0 5 bold blink");  // ready to replace the zero
  consumed(*field, "0");
  EXPECT_EQ(row(), "   2.00 ");
  EXPECT_EQ(field->GetValue(), 2.0);
  field->Blur();
  EXPECT_EQ(row(), "       2");
  EXPECT_EQ(field->GetPrecision(), -1);
  field->Focus();
  std::vector<std::string> texts;
  for (char c : std::string(",50")) {  // a comma is shown as a point
    EXPECT_TRUE(field->OnKeyPress(c));
    texts.push_back(field->GetText());
  }
  // Without the temporary precision the typed zero vanishes.
  EXPECT_EQ(texts, (std::vector<std::string>{"2.0", "2.5", "2.5"}));
  EXPECT_EQ(field->GetValue(), 2.5);
}

TEST_F(NumberTest, TheTemporaryPrecisionNeverHidesDigitsOfTheValue) {
  auto field = started<double>(304.0);
  field->OnKeyPress(KEY_HOME);
  consumed(*field, ".");
  EXPECT_DOUBLE_EQ(field->GetValue(), 0.304);
  EXPECT_EQ(field->GetText(), "0.304");
  EXPECT_EQ(field->GetCursor(), 2);
  consumed(*field, "0");
  EXPECT_EQ(field->GetText(), "0.0304");
  field->OnKeyPress(KEY_END);
  std::vector<std::string> texts;
  for (int i = 0; i < 5; ++i) {
    field->OnKeyPress(127);
    texts.push_back(field->GetText());
  }
  // The point alone still shows one fraction digit.
  EXPECT_EQ(texts, (std::vector<std::string>{"0.030", "0.03", "0.0", "0.0", "0"}));
  EXPECT_EQ(field->GetValue(), 0.0);
}

TEST_F(NumberTest, ASecondPointIsConsumedAndChangesNothingInEitherMode) {
  auto field = started<double>(2.5);
  EXPECT_EQ(consumed(*field, "."), ".");
  Field::Insert = false;
  field->OnKeyPress(KEY_HOME);
  EXPECT_EQ(consumed(*field, ","), ",");
  EXPECT_EQ(field->GetText(), "2.5");
  field->OnKeyPress(KEY_RIGHT);
  consumed(*field, ",");  // over the point itself: still one point
  EXPECT_EQ(field->GetValue(), 2.5);
  consumed(*field, "7");
  EXPECT_EQ(field->GetText(), "2.7");
}

TEST_F(NumberTest, RefusesFractionDigitsThatTheShownTextCouldNotHold) {
  auto field = started<double>(0.0, 12);
  consumed(*field, ".1234567");
  EXPECT_EQ(field->GetText(), "0.123456");
  EXPECT_DOUBLE_EQ(field->GetValue(), 0.123456);
  field->SetPrecision(2);
  field->SetValue(2.0);
  EXPECT_EQ(row(12), "       2.00 ");
  consumed(*field, "5");
  EXPECT_EQ(field->GetText(), "2.00");
  field->OnKeyPress(KEY_HOME);
  consumed(*field, "1");
  EXPECT_EQ(field->GetText(), "12.00");
}

TEST_F(NumberTest, LeavesOtherKeysToTheWindowAndKeepsAProgramSetSign) {
  auto field = make<double>(-1.5);
  for (int key : {int('-'), int('a'), 9, 10, 27, KEY_UP, KEY_F(2), 0xD0})
    EXPECT_FALSE(field->OnKeyPress(key)) << key;
  press(*field, {KEY_HOME, KEY_RIGHT, '2'});
  EXPECT_EQ(field->GetValue(), -21.5);
}

TEST_F(NumberTest, ABindGivesTheValueAndTakesItOnBlur) {
  auto field = make<int>(0);
  int stored = 8080;
  std::vector<int> written;
  field->SetBind([&] { return stored; }, [&](int value) { written.push_back(value); });
  EXPECT_EQ(field->GetValue(), 8080);
  EXPECT_FALSE(field->IsModified());
  field->Render();
  field->Focus();
  consumed(*field, "1");
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
  EXPECT_EQ(row(6) + "|" + look(5), "    42|4 5 bold blink");
  EXPECT_TRUE(field->OnMouseClick(screen.Click(2, 0).get()));
  EXPECT_EQ(field->GetCursor(), 0);
  EXPECT_FALSE(field->OnMouseClick(screen.Click(7, 0).get()));
}
