#include <clocale>

#include "cli/Program.h"

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");
  return Program::Main(argc, argv);
}
