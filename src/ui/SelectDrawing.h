#pragma once

#include <string>

#include "ui/Area.h"
#include "ui/Keys.h"

// The parts of a selector that do not depend on its key type: its look on the screen, the
// cells of its two arrows and the keys that move it.
class SelectDrawing {
 public:
  // Draws the arrows at both ends of print and text centred between them.
  static void Draw(const Area& print, bool active, const std::string& text);
  static bool IsFirstCell(const Area& print, const Position* point);
  static bool IsLastCellOfFirstRow(const Area& print, const Position* point);

 private:
  static void drawArrows(const Area& print, bool active);
  static void drawValue(const Area& print, const std::string& text);
};
