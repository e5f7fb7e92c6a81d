#pragma once

#include <functional>
#include <string>

// The C string that call throws, or an empty text when it returns normally.
std::string Thrown(const std::function<void()>& call);
