#include "forms/LayoutCheck.h"

#include <algorithm>

namespace {
bool empty(const LayoutCheck::Block& block) {
  return block.width <= 0 || block.height <= 0;
}
}  // namespace

bool LayoutCheck::overlap(const Block& a, const Block& b) {
  return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

bool LayoutCheck::Fits(const Blocks& blocks, int width, int height) {
  for (size_t index = 0; index < blocks.size(); ++index) {
    const Block& block = blocks[index];
    if (empty(block))
      continue;
    if (block.x < 0 || block.y < 0 || block.x + block.width > width ||
        block.y + block.height > height)
      return false;
    for (size_t other = index + 1; other < blocks.size(); ++other)
      if (!empty(blocks[other]) && overlap(block, blocks[other]))
        return false;
  }
  return true;
}

Size LayoutCheck::Needed(const Placer& placer) {
  auto fits = [&placer](int width, int height) {
    return Fits(placer(width, height), width, height);
  };
  int width = 1;
  while (width < MAX_WIDTH && !fits(width, MAX_HEIGHT))
    ++width;
  int height = 1;
  while (height < MAX_HEIGHT && !fits(width, height))
    ++height;
  return Size(width, height);
}
