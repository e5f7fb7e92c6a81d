#include "controllers/ControllerFixture.h"

#include <sstream>

#include "controllers/Controller.h"
#include "controllers/ControllerArguments.h"

namespace {
void replaceAll(std::string& text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
}
}  // namespace

ControllerFixture::ControllerFixture()
    : workingDirectory(site.Path("app")), programVersion("1.24.2.1") {}

ControllerFixture::~ControllerFixture() = default;

void ControllerFixture::Open() {
  settings.reset();
  resources.reset();
  logger.reset();
  logger = std::make_unique<Logger>(site.Path("app/log.txt"));
  resources = std::make_unique<Resources>(logger.get(), DEPLOYER_SOURCE_DIR "/share/Resources.res");
  resources->Load();
  for (auto& [key, text] : resources->texts)
    text = key;
  settings = std::make_unique<Settings>(logger.get(), site.WriteSettings("app/Settings.json"));
  settings->Load();
}

ControllerArguments* ControllerFixture::Arguments(bool installDocker, bool installWebServer,
                                                  bool ignoreCerts, std::string migratePath,
                                                  bool migrateDelete) {
  auto* arguments =
      new ControllerArguments(logger.get(), resources.get(), settings.get(), installDocker,
                              installWebServer, ignoreCerts, migratePath, migrateDelete);
  arguments->SetDryRun(dryRun);
  arguments->SetKeyWait(keyWait);
  return arguments;
}

std::string ControllerFixture::Execute(Controller& controller) {
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  controller.Execute();
  succeeded = controller.Succeeded();
  testing::internal::GetCapturedStderr();
  return Normalised(Readable(testing::internal::GetCapturedStdout()));
}

std::string ControllerFixture::Log() {
  settings.reset();
  resources.reset();
  logger.reset();
  return TempDir::ReadFile(site.Path("app/log.txt"));
}

std::vector<std::string> ControllerFixture::LoggedCommands(const std::string& log) {
  std::vector<std::string> commands;
  std::istringstream lines(log);
  std::string line;
  while (std::getline(lines, line)) {
    size_t at = line.find("]::run ");
    if (at == std::string::npos || line.find(" > Controller[") == std::string::npos)
      continue;
    std::string command = line.substr(at + 7, line.size() - at - 8);
    if (command.rfind("result ", 0) != 0 && command.rfind("refused ", 0) != 0)
      commands.push_back(command);
  }
  return commands;
}

std::string ControllerFixture::Normalised(std::string text) const {
  std::string root = site.Path("");
  replaceAll(text, root.substr(0, root.size() - 1), "{site}");
  replaceAll(text, site.Url("").substr(0, site.Url("").size() - 1), "{server}");
  return text;
}

std::string ControllerFixture::Readable(std::string output) {
  const std::pair<const char*, const char*> colours[] = {
      {"\x1b[0;31m", "<red>"},  {"\x1b[0;32m", "<green>"},   {"\x1b[1;33m", "<yellow>"},
      {"\x1b[0;36m", "<cyan>"}, {"\x1b[0;35m", "<magenta>"}, {"\x1b[0m", "</>"}};
  for (const auto& [code, tag] : colours)
    replaceAll(output, code, tag);
  return output;
}

std::string ControllerFixture::LastLine(const std::string& output) {
  size_t end = output.size() < 2 ? std::string::npos : output.rfind('\n', output.size() - 2);
  return end == std::string::npos ? output : output.substr(end + 1);
}
