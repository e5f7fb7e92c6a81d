#pragma once

#include "app/Version.h"

// Named version constants.
class Versions {
 public:
  Versions() = default;
  virtual ~Versions() = default;

  static Version Core_24_2;
};
