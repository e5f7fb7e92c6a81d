#include "app/WsType.h"

std::map<std::string, std::string> WsType::GetItems() {
  return {
      {"angie", "Angie"}, {"apache2", "Apache"}, {"nginx", "Nginx"}, {"no_http", "Без сервера"}};
}
