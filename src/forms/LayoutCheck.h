#pragma once

#include <functional>
#include <vector>

#include "ui/Size.h"

// Tells whether the blocks of a screen layout fit a screen: every block inside it and no two
// blocks sharing a cell. Empty blocks take no room.
class LayoutCheck {
 public:
  struct Block {
    int x, y, width, height;
  };
  using Blocks = std::vector<Block>;
  // The blocks of the layout laid out for a screen of the given size.
  using Placer = std::function<Blocks(int width, int height)>;

  static constexpr int MAX_WIDTH = 1000;
  static constexpr int MAX_HEIGHT = 500;

  static bool Fits(const Blocks& blocks, int width, int height);
  // The smallest screen the layout fits; the maximum when it fits none.
  static Size Needed(const Placer& placer);

 private:
  static bool overlap(const Block& a, const Block& b);
};
