#pragma once

#include <string>

// True when text has the shape, where "#" in the shape stands for any decimal digit and every
// other character for itself. With prefix, text may go on after the shape.
bool MatchesShape(const std::string& text, const std::string& shape, bool prefix = false);
