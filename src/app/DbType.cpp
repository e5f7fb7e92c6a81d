#include "app/DbType.h"

std::map<int, std::string> DbType::GetItems() {
  return {{0, "MS SQL"}, {1, "Oracle"}, {2, "SQLite"}, {3, "PostgreSQL"}};
}
