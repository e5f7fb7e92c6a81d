#include "support/Screen.h"

#include <climits>
#include <clocale>
#include <cwchar>
#include <stdexcept>

#include "ui/Mouse.h"

namespace {
// The screen runs in the C.UTF-8 locale.
std::string utf8(wchar_t character) {
  char bytes[MB_LEN_MAX];
  std::mbstate_t state{};
  size_t length = std::wcrtomb(bytes, character, &state);
  return length == static_cast<size_t>(-1) ? "?" : std::string(bytes, length);
}

// The alternate character set letters of the line-drawing characters the toolkit uses.
std::string lineDrawing(wchar_t letter) {
  const std::wstring letters = L"lkmjqx`-.,+0";
  const char* const glyphs[] = {"┌", "┐", "└", "┘", "─", "│", "◆", "↑", "↓", "←", "→", "█"};
  size_t at = letters.find(letter);
  return at == std::wstring::npos ? utf8(letter) : glyphs[at];
}

const short Pairs[7][2] = {{COLOR_WHITE, COLOR_BLUE},  {COLOR_YELLOW, COLOR_BLUE},
                           {COLOR_BLACK, COLOR_WHITE}, {COLOR_BLACK, COLOR_CYAN},
                           {COLOR_YELLOW, COLOR_CYAN}, {COLOR_WHITE, COLOR_MAGENTA},
                           {COLOR_WHITE, COLOR_RED}};
}  // namespace

Screen::Screen(int width, int height) : width(width), height(height) {
  const char* current = std::setlocale(LC_ALL, nullptr);
  locale = current ? current : "C";
  std::setlocale(LC_ALL, "C.UTF-8");
  output = std::fopen("/dev/null", "w");
  input = std::fopen("/dev/null", "r");
  screen = newterm("xterm", output, input);
  if (screen == nullptr)
    throw std::runtime_error("newterm failed");
  resizeterm(height, width);
  keypad(stdscr, TRUE);
  nodelay(stdscr, TRUE);
  noecho();
  curs_set(0);
  mousemask(0xFFFFFFF, nullptr);
  start_color();
  for (short pair = 1; pair <= 7; ++pair)
    init_pair(pair, Pairs[pair - 1][0], Pairs[pair - 1][1]);
  wbkgd(stdscr, COLOR_PAIR(1));
  wclear(stdscr);
}

Screen::~Screen() {
  endwin();
  delscreen(screen);
  std::fclose(output);
  std::fclose(input);
  std::setlocale(LC_ALL, locale.c_str());
}

Screen::Cell Screen::At(int x, int y) const {
  Cell cell;
  cchar_t stored;
  if (x < 0 || y < 0 || x >= width || y >= height || mvwin_wch(stdscr, y, x, &stored) == ERR)
    return cell;
  wchar_t text[CCHARW_MAX + 1] = {};
  attr_t attributes = 0;
  short pair = 0;
  getcchar(&stored, text, &attributes, &pair, nullptr);
  cell.glyph = (attributes & A_ALTCHARSET) ? lineDrawing(text[0]) : utf8(text[0]);
  cell.pair = pair;
  cell.bold = (attributes & A_BOLD) != 0;
  cell.blink = (attributes & A_BLINK) != 0;
  cell.underline = (attributes & A_UNDERLINE) != 0;
  return cell;
}

std::string Screen::Text(int x, int y, int regionWidth, int regionHeight) const {
  std::string text;
  for (int row = y; row < y + regionHeight; ++row) {
    if (row > y)
      text += '\n';
    for (int column = x; column < x + regionWidth; ++column)
      text += At(column, row).glyph;
  }
  return text;
}

void Screen::QueueMouse(int x, int y, mmask_t state) {
  MEVENT event{};
  event.x = x;
  event.y = y;
  event.bstate = state;
  ungetmouse(&event);
}

int Screen::ReadKey() const {
  return wgetch(stdscr);
}

std::unique_ptr<Mouse> Screen::Click(int x, int y, mmask_t state) const {
  QueueMouse(x, y, state);
  if (ReadKey() != KEY_MOUSE)
    throw std::runtime_error("the mouse event did not arrive");
  return std::make_unique<Mouse>();
}
