// Random keys against text and number fields: no key sequence may throw, and after every key
// the cursor stays inside the text, a masked text fits its mask, and a number shows exactly the
// digits of its value.
#include <gtest/gtest.h>

#include <array>
#include <deque>
#include <functional>
#include <memory>
#include <random>
#include <string>

#include "support/LogCapture.h"
#include "support/Screen.h"
#include "ui/Field.h"
#include "ui/Mask.h"
#include "ui/Number.h"
#include "ui/NumberText.h"
#include "util/String.h"

namespace {
const unsigned Seed = 20240602;
const int KeysPerRun = 100000;
const int RenderedKeys = 2000;  // drawing is slow under the sanitizers: only the last keys draw
const int ResetEvery = 1500;    // keeps a text field's text short
const int Width = 8;

// Keys as the window hands them over: bytes of typed characters (two for a Cyrillic letter),
// control bytes, curses key codes.
class KeyStream {
 public:
  explicit KeyStream(unsigned seed) : random(seed) {}

  int Next() {
    if (queued.empty())
      generate();
    int key = queued.front();
    queued.pop_front();
    return key;
  }

  int Below(int limit) { return std::uniform_int_distribution<int>(0, limit - 1)(random); }

 private:
  void generate() {
    static const std::array<int, 9> weights = {20, 20, 6, 11, 3, 4, 16, 14, 3};
    std::discrete_distribution<int> kind(weights.begin(), weights.end());
    switch (kind(random)) {
      case 0:
        return push(32 + Below(95));
      case 1:
        return push('0' + Below(10));
      case 2:
        return push(Below(2) ? '.' : ',');
      case 3:  // a two-byte character, now and then a lead byte followed by a plain one
        push(Below(2) ? 0xD0 : 0xD1);
        return push(Below(4) ? 0x80 + Below(64) : 32 + Below(95));
      case 4:
        return push(Below(2) ? 0x80 + Below(128) : -1 - Below(128));
      case 5:
        return push(Below(32));
      case 6:
        return push(pick({KEY_LEFT, KEY_RIGHT, KEY_HOME, KEY_END, KEY_UP, KEY_DOWN}));
      case 7:
        return push(pick({KEY_IC, KEY_DC, 127, 127}));
      default:
        return push(pick({KEY_F(1), KEY_MOUSE, KEY_BTAB, KEY_RESIZE, ERR, 0x1234}));
    }
  }

  int pick(std::initializer_list<int> keys) { return *(keys.begin() + Below(keys.size())); }
  void push(int key) { queued.push_back(key); }

  std::mt19937 random;
  std::deque<int> queued;
};

class EntryFuzzTest : public testing::Test {
 protected:
  void SetUp() override { Field::Insert = true; }
  void TearDown() override { Field::Insert = true; }

  // What happened at one key.
  struct Step {
    int index;
    int key;
    bool consumed;
    bool blurred;  // the control lost and took the focus after the key
  };

  // Feeds KeysPerRun keys to control, runs check after each; now and then the control loses
  // and takes the focus, and reset runs every ResetEvery keys.
  void run(Control& control, const std::function<void(const Step&)>& check,
           const std::function<void()>& reset) {
    KeyStream keys(Seed);
    control.Focus();
    for (int i = 0; i < KeysPerRun && !HasFailure(); ++i) {
      if (i == KeysPerRun - RenderedKeys)
        control.Render();
      Step step{i, keys.Next(), false, keys.Below(300) == 0};
      try {
        step.consumed = control.OnKeyPress(step.key);
        if (step.blurred) {
          control.Blur();
          control.Focus();
        }
        if (i % ResetEvery == ResetEvery - 1)
          reset();
      } catch (const char* message) {
        FAIL() << "key " << step.key << " (number " << i << ") threw " << message;
      } catch (...) {
        FAIL() << "key " << step.key << " (number " << i << ") threw";
      }
      check(step);
    }
  }

  static bool drawn(const Step& step) {
    return step.index >= KeysPerRun - RenderedKeys && step.index % 50 == 0;
  }

  // The cursor is inside the text and, while drawn, inside the field, in the cursor colours.
  void checkCursor(int cursor, int offset, int length, bool drawn) {
    ASSERT_GE(cursor, 0);
    ASSERT_LE(cursor, length);
    if (!drawn)
      return;
    ASSERT_GE(cursor - offset, 0);
    ASSERT_LT(cursor - offset, Width);
    ASSERT_EQ(screen.At(cursor - offset, 0).pair, 5);
  }

  // Removing a character may leave a masked text off its mask until the next typed character
  // or the loss of the focus puts it right.
  struct FieldState {
    bool mayBeOffMask = false;
  };

  void checkField(Field& field, const Mask& mask, const Step& step, FieldState& state) {
    std::string text = field.GetValue();
    checkCursor(field.GetCursor(), field.GetOffset(), String::LengthW(text), drawn(step));
    ASSERT_LT(field.GetCursor() - field.GetOffset(), Width);
    if (step.key == 127 || step.key == KEY_DC)
      state.mayBeOffMask = true;
    else if (step.blurred || (step.consumed && step.key >= -128 && step.key <= 255))
      state.mayBeOffMask = false;
    if (!mask.Empty() && !state.mayBeOffMask) {
      ASSERT_EQ(mask.Valid(text), text);
    }
    for (size_t pos = 0; mask.Empty() && pos < text.size(); pos += String::CharSize(text, pos))
      ASSERT_TRUE(Field::IsTypeChar(text.substr(pos, String::CharSize(text, pos)))) << text;
  }

  void runField(const std::string& maskText, const std::string& initial) {
    Field field(log.Get(), "FuzzField", nullptr, new Size(Width, 1), initial);
    std::string stored = initial;
    field.SetBind([&] { return stored; }, [&](std::string text) { stored = text; });
    field.SetMask(maskText);
    Mask mask(maskText);
    FieldState state;
    run(
        field, [&](const Step& step) { checkField(field, mask, step, state); },
        [&] {
          field.SetValue(initial);
          state.mayBeOffMask = false;
        });
  }

  template <typename T>
  void checkNumber(Number<T>& number, const Step& step) {
    std::string text = number.GetText();
    checkCursor(number.GetCursor(), number.GetOffset(), String::LengthW(text), drawn(step));
    T shown{};
    if constexpr (std::is_same_v<T, int>)
      ASSERT_TRUE(NumberText::ParseInt(text, &shown)) << text;
    else
      ASSERT_TRUE(NumberText::ParseDouble(text, &shown)) << text;
    ASSERT_EQ(shown, number.GetValue()) << text;
    ASSERT_TRUE(
        NumberText::SameDigits(text, String::ToStringWithPrecision<T>(number.GetValue(), -1)))
        << text;
  }

  template <typename T>
  void runNumber(T initial, int precision) {
    Number<T> number(log.Get(), "FuzzNumber", nullptr, new Size(Width, 1), initial);
    T stored = initial;
    number.SetBind([&] { return stored; }, [&](T value) { stored = value; });
    number.SetPrecision(precision);
    run(
        number, [&](const Step& step) { checkNumber(number, step); },
        [&] { number.SetValue(initial); });
  }

  Screen screen;
  LogCapture log;
};
}  // namespace

TEST_F(EntryFuzzTest, ATextFieldWithoutMaskSurvivesRandomKeys) {
  runField("", "abc");
}

TEST_F(EntryFuzzTest, AVersionFieldKeepsToItsMaskUnderRandomKeys) {
  runField("d+.d+.d+.d+", "24.2.1.0");
}

TEST_F(EntryFuzzTest, AFieldWithLettersAndOptionalItemsKeepsToItsMask) {
  runField("w+-a*\\d*d", "");
}

TEST_F(EntryFuzzTest, AnIntegerFieldSurvivesRandomKeys) {
  runNumber<int>(8080, 0);
}

TEST_F(EntryFuzzTest, ADoubleFieldWithAutomaticPrecisionSurvivesRandomKeys) {
  runNumber<double>(2.5, -1);
}

TEST_F(EntryFuzzTest, ADoubleFieldWithFixedPrecisionSurvivesRandomKeys) {
  runNumber<double>(-3.25, 2);
}
