#include "app/Versions.h"

Version Versions::Core_24_2("24.2");
