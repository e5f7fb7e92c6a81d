// Random keys against text and number fields: no key sequence may throw, and after every key
// the cursor stays inside the text, a masked text fits its mask, and a number shows exactly the
// digits of its value.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "ui/EntryTest.h"
#include "ui/Mask.h"
#include "ui/Number.h"
#include "ui/NumberText.h"
#include "util/String.h"

namespace {
const int KeysPerRun = 30000;
const int RenderedKeys = 2000;  // drawing is slow under the sanitizers: only the last keys draw
const int ResetEvery = 1500;    // keeps a text field's text short
const int BlurEvery = 293;
const int Width = 8;

// Keys as the window hands them over: bytes of typed characters (two for a Cyrillic letter, now
// and then a lead byte followed by a plain one), stray high bytes, control bytes, curses keys.
std::vector<int> randomKeys() {
  std::mt19937 random(20240602);
  auto below = [&](int limit) { return std::uniform_int_distribution<int>(0, limit - 1)(random); };
  const std::vector<int> named = {'.',       ',',      127,       127,        KEY_LEFT,
                                  KEY_RIGHT, KEY_HOME, KEY_END,   KEY_UP,     KEY_IC,
                                  KEY_DC,    KEY_F(1), KEY_MOUSE, KEY_RESIZE, ERR};
  std::vector<int> keys;
  while (keys.size() < KeysPerRun) {
    switch (below(6)) {
      case 0:
        keys.push_back(32 + below(95));
        break;
      case 1:
        keys.push_back('0' + below(10));
        break;
      case 2:
        keys.push_back(below(2) ? 0xD0 : 0xD1);
        keys.push_back(below(4) ? 0x80 + below(64) : 32 + below(95));
        break;
      case 3:
        keys.push_back(below(3) ? below(32) : 0x80 + below(128) - below(2) * 256);
        break;
      default:
        keys.push_back(named[below(named.size())]);
    }
  }
  return keys;
}

class EntryFuzzTest : public EntryTest {
 protected:
  // Feeds the keys to control and runs check(key, consumed, blurred) after each; now and then
  // the control loses and takes the focus, and reset runs every ResetEvery keys. The last keys
  // reach a drawn control, on which the cursor cell must show the cursor.
  void run(Control& control, const std::function<void(int, bool, bool)>& check,
           const std::function<void()>& reset) {
    static const std::vector<int> keys = randomKeys();
    control.Focus();
    for (int i = 0; i < KeysPerRun && !HasFailure(); ++i) {
      if (i == KeysPerRun - RenderedKeys)
        control.Render();
      bool consumed = false, blurred = i % BlurEvery == 0;
      try {
        consumed = control.OnKeyPress(keys[i]);
        if (blurred) {
          control.Blur();
          control.Focus();
        }
        if (i % ResetEvery == ResetEvery - 1)
          reset();
      } catch (...) {
        FAIL() << "key " << keys[i] << " (number " << i << ") threw";
      }
      check(keys[i], consumed, blurred);
      if (i >= KeysPerRun - RenderedKeys && i % 50 == 0) {
        ASSERT_EQ(screen.At(cursor - offset, 0).pair, 5) << "key number " << i;
      }
    }
  }

  // The cursor (also kept for the drawing check) is inside the text and the field.
  void checkCursor(int at, int first, const std::string& text) {
    cursor = at;
    offset = first;
    ASSERT_TRUE(cursor >= 0 && cursor <= String::LengthW(text)) << cursor << " in " << text;
    ASSERT_TRUE(cursor - offset >= 0 && cursor - offset < Width) << cursor << " from " << offset;
  }

  void runField(const std::string& maskText, const std::string& initial) {
    Field field(log.Get(), "FuzzField", nullptr, new Size(Width, 1), initial);
    std::string stored = initial;
    field.SetBind([&] { return stored; }, [&](std::string text) { stored = text; });
    field.SetMask(maskText);
    Mask mask(maskText);
    // Removing a character may leave a masked text off its mask until the next typed character
    // or the loss of the focus puts it right.
    bool mayBeOffMask = false;
    auto check = [&](int key, bool consumed, bool blurred) {
      std::string text = field.GetValue();
      checkCursor(field.GetCursor(), field.GetOffset(), text);
      if (key == 127 || key == KEY_DC)
        mayBeOffMask = true;
      else if (blurred || (consumed && key >= -128 && key <= 255))
        mayBeOffMask = false;
      if (!mayBeOffMask) {
        ASSERT_EQ(mask.Valid(text), text);
      }
    };
    run(field, check, [&] {
      field.SetValue(initial);
      mayBeOffMask = false;
    });
  }

  // The shown text gives the value and holds exactly its digits.
  void runNumber(double initial, int precision) {
    Number<double> number(log.Get(), "FuzzNumber", nullptr, new Size(Width, 1), initial);
    double stored = initial;
    number.SetBind([&] { return stored; }, [&](double value) { stored = value; });
    number.SetPrecision(precision);
    auto check = [&](int, bool, bool) {
      std::string text = number.GetText();
      double shown = 0;
      ASSERT_TRUE(NumberText::ParseDouble(text, &shown)) << text;
      ASSERT_EQ(shown, number.GetValue()) << text;
      ASSERT_TRUE(NumberText::SameDigits(
          text, String::ToStringWithPrecision<double>(number.GetValue(), -1)))
          << text;
      // The field scrolls when it is drawn: only then must the cursor lie inside it.
      if (number.IsRendered())
        checkCursor(number.GetCursor(), number.GetOffset(), text);
    };
    run(number, check, [&] { number.SetValue(initial); });
  }

  int cursor = 0;
  int offset = 0;
};
}  // namespace

TEST_F(EntryFuzzTest, TextFieldsKeepToTheirMasksUnderRandomKeys) {
  runField("d+.d+.d+.d+", "24.2.1.0");
  runField("w+-a*\\d*d", "");
}

TEST_F(EntryFuzzTest, NumberFieldsShowTheirValuesUnderRandomKeys) {
  runNumber(2.5, -1);
  runNumber(-3.25, 2);
}
