#include "ui/Number.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "ui/EntryTest.h"
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
  std::string typed(T initial, const std::string& keys) {
    Field::Insert = true;
    auto field = make<T>(initial, 12);
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
};
}  // namespace

TEST_F(NumberTest, AnIntegerFieldTakesOnlyDigitsItsValueCanHold) {
  // initial value, keys, the text with "|" at the cursor
  const std::tuple<int, std::string, std::string> cases[] = {
      {42, "{Home}01.,", "1|42"},         // leading zeros vanish; separators change nothing
      {0, "21474836479", "2147483647|"},  // digits that would overflow are refused
      {INT_MIN, "0{Bs}", "-214748364|"},
  };
  for (const auto& [initial, keys, shown] : cases)
    EXPECT_EQ(typed<int>(initial, keys), shown) << keys;
}

TEST_F(NumberTest, ADoubleFieldShowsEveryDigitOfItsValue) {
  const std::tuple<double, std::string, std::string> cases[] = {
      {2.0, ".", "2.|0"},   // a typed point shows a zero, ready to be replaced
      {2.0, ",5", "2.5|"},  // a comma is a point
      {304.0, "{Home}.0{End}{Bs}{Bs}{Bs}{Bs}", "0.|0"},  // the point alone shows one digit
      {2.5, "{Ins}{Home}{Right},7", "2.7|"},             // a second point changes nothing
      {0.0, ".1234567", "0.123456|"},  // no more digits than the shown text can hold
  };
  for (const auto& [initial, keys, shown] : cases)
    EXPECT_EQ(typed<double>(initial, keys), shown) << keys;
}

TEST_F(NumberTest, ABindGivesTheValueAndTakesItOnBlur) {
  auto field = make<int>(0);
  std::vector<int> written;
  Number<int>* shown = field.get();
  field->SetBind([] { return 8090; },
                 [&](int value) {
                   written.push_back(value);
                   shown->Refresh();
                 });
  field->Render();
  field->Focus();
  script(*field, "1");
  EXPECT_EQ(screen.Text(1, 0, 8, 1), "  80901 ");
  field->Blur();
  EXPECT_EQ(written, std::vector<int>{80901});
  EXPECT_EQ(screen.Text(1, 0, 8, 1), "    8090");
}
