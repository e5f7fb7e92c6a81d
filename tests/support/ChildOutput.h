#pragma once

#include <functional>
#include <string>

// Runs body in a child process and returns, once the child has ended, what it wrote to the
// descriptor body is given (the write end of a pipe). The child ends when body returns, unless
// body ends it first. "no pipe" when no pipe could be made.
std::string ChildOutput(const std::function<void(int fd)>& body);
