#include "controllers/Controller.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "app/Logger.h"
#include "app/Resources.h"
#include "app/Settings.h"
#include "app/SettingsPath.h"
#include "app/SettingsSchema.h"
#include "app/StopSignals.h"
#include "app/Version.h"
#include "controllers/ControllerArguments.h"
#include "controllers/DryRunner.h"
#include "controllers/HealthCheck.h"
#include "controllers/Shell.h"
#include "controllers/SpawnRunner.h"
#include "util/Path.h"
#include "util/Sha256.h"
#include "util/String.h"

Controller::Controller(ControllerArguments* arguments, Version* programVersion, std::string name)
    : arguments(arguments),
      logger(arguments->GetLogger()),
      resources(arguments->GetResources()),
      settings(arguments->GetSettings()),
      name(name),
      dryRun(arguments->DryRun()) {
  if (dryRun)
    runner = std::make_unique<DryRunner>();
  else
    runner = std::make_unique<SpawnRunner>();
  targetVersion = std::make_unique<Version>(std::to_string(programVersion->Part(1)) + "." +
                                            std::to_string(programVersion->Part(2)) + ".0.0");
}

Controller::~Controller() = default;

void Controller::Execute() {
  logger->Write("Controller[" + name + "]::Executing of not implemented method.");
  throw "Not Implemented Method";
}

void Controller::print(std::string message, bool quiet) {
  if (!quiet)
    logger->Write("Controller[" + name + "]::print " + Logger::Excerpt(message) + ".");
  if (!dryRun)
    writeLine(stdout, message);
}

void Controller::print(std::string message) {
  print(message, false);
}

void Controller::print(std::string message, Color color) {
  logger->Write("Controller[" + name + "]::print" + Logger::Excerpt(message) + ".");
  if (dryRun && color == Red)
    writeLine(stderr, String::Highlight(message, color));
  else
    print(String::Highlight(message, color), true);
}

void Controller::writeLine(std::FILE* stream, const std::string& message) {
  std::fwrite(message.data(), 1, message.size(), stream);
  std::fputc('\n', stream);
}

int Controller::download(std::string url, std::string directory) {
  Command command = {"wget", url, "-P", directory};
  if (arguments->IgnoreCerts())
    command.push_back("--no-check-certificate");
  if (!dryRun && !Shell::IsOptionLike(url) && !Shell::IsOptionLike(directory))
    removeEarlierDownload(url, directory);
  return run(command, {url, directory});
}

void Controller::removeEarlierDownload(const std::string& url, const std::string& directory) {
  std::string fileName = Path::GetFileName(url);
  if (fileName.empty() || fileName == "." || fileName == "..")
    return;
  std::filesystem::path earlier = std::filesystem::path(directory) / fileName;
  std::error_code error;
  if (std::filesystem::is_directory(std::filesystem::symlink_status(earlier, error)))
    return;
  if (std::filesystem::remove(earlier, error))
    logger->Write("Controller[" + name + "]::download removed the earlier copy " +
                  earlier.string() + ".");
}

int Controller::run(const Command& command, std::initializer_list<std::string> paths) {
  std::string line = loggedLine(command);
  lastCommand = line;
  for (const std::string& path : paths) {
    if (Shell::IsOptionLike(path)) {
      logger->Write("Controller[" + name + "]::run refused " + line + " because " + path +
                    " begins with -.");
      return REFUSED;
    }
  }
  if (int stop = StopSignals::StopRequested()) {
    logger->Write("Controller[" + name + "]::run skipped " + line + ": stopped by signal " +
                  std::to_string(stop) + ".");
    return stop;  // read as a command killed by that signal
  }
  logger->Write("Controller[" + name + "]::run " + line + ".");
  std::fflush(stdout);
  CommandRunner::Result result = runner->Run(command);
  logger->Write("Controller[" + name + "]::run result " + std::to_string(result.status) + " (" +
                result.meaning + ").");
  leaveLostTerminal();
  return result.status;
}

// The command as the dry run shows it, each word cut for the log as a value is.
std::string Controller::loggedLine(const Command& command) {
  Command cut;
  for (const std::string& word : command)
    cut.push_back(Logger::Excerpt(word));
  return Shell::Line(cut);
}

bool Controller::stopped() const {
  return StopSignals::StopRequested() != 0;
}

// After a hang-up the action goes on without its terminal: what it and its commands print from
// then on goes to /dev/null instead of failing on the lost terminal.
void Controller::leaveLostTerminal() {
  static bool left = false;
  if (left || !StopSignals::HungUp())
    return;
  left = true;
  logger->Write("Controller[" + name + "]::run the terminal was lost; the action goes on.");
  std::fflush(stdout);
  int null = open("/dev/null", O_RDWR | O_CLOEXEC);
  if (null < 0)
    return;
  for (int stream : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO})
    dup2(null, stream);
  close(null);
  std::clearerr(stdout);
  std::clearerr(stderr);
}

bool Controller::report(int result, const std::string& failure, const std::string& success) {
  if (result != 0) {
    failedCommand = lastCommand;
    failedStatus = result;
    print(failure + code(result), Red);
    return false;
  }
  print(success, Green);
  return true;
}

bool Controller::checkHealth() {
  std::string url = settings->GetOptionalString(SettingsPath::InstallHealthUrl);
  if (url.empty()) {
    print(resources->texts["HEALTH_NOT_SET"], BrightYellow);
    return true;
  }
  int timeout = settings->GetOptionalInteger(SettingsPath::InstallHealthTimeout,
                                             SettingsSchema::DefaultHealthTimeout);
  print(resources->texts["HEALTH_CHECKING"] + url, BrightYellow);
  HealthCheck check(url, timeout, arguments->IgnoreCerts());
  HealthCheck::Outcome outcome = check.Wait(
      [this](const Command& command) { return run(command); }, [this] { return stopped(); },
      dryRun ? HealthCheck::Mode::DryRun : HealthCheck::Mode::Until2xx);
  if (outcome.ok) {
    print(resources->texts["HEALTH_OK"] + std::to_string(outcome.seconds) +
              resources->texts["HEALTH_SECONDS"],
          Green);
    return true;
  }
  failedCommand = "wget " + url;
  failedStatus = 1;
  print(resources->texts["HEALTH_FAILED"] + outcome.detail, Red);
  return false;
}

void Controller::saveSettings() {
  if (settings->IsModified()) {
    print(resources->texts["SAVE_CONFIG"], BrightYellow);
    if (dryRun)
      logger->Write("Controller[" + name + "]::saveSettings left the file as it is: dry run.");
    else
      settings->Save();
  } else {
    print(resources->texts["SAVE_CONFIG_SKIPPED"], BrightYellow);
  }
}

bool Controller::verify(const std::string& file, const char* checksumPath) {
  std::string expected = Sha256::Normalised(settings->GetOptionalString(checksumPath));
  if (dryRun) {
    if (!expected.empty())
      writeLine(stdout, "# sha256 " + Shell::Word(file) + " must be " + expected);
    return true;
  }
  if (expected.empty()) {
    print(resources->texts["SHA256_NOT_SET"] + file, BrightYellow);
    return true;
  }
  std::string actual, reason;
  if (!Sha256::OfFile(file, &actual, &reason)) {
    print(resources->texts["SHA256_UNREADABLE"] + file + " (" + reason + ")", Red);
    return false;
  }
  if (actual == expected) {
    print(resources->texts["SHA256_MATCH"] + file, Green);
    return true;
  }
  print(resources->texts["SHA256_MISMATCH"] + file + " (" + resources->texts["SHA256_EXPECTED"] +
            expected + ", " + resources->texts["SHA256_ACTUAL"] + actual + ")",
        Red);
  std::error_code error;
  std::filesystem::remove(file, error);
  return false;
}

Version Controller::getTargetVersion() {
  return Version(targetVersion.get());
}

std::string Controller::getDockerUnPackName() {
  return Path::UnzipFileName(Path::GetFileName(settings->GetString(SettingsPath::DockerUrl)));
}

std::string Controller::getWebServerUnPackName() {
  std::string url = settings->GetString(SettingsPath::WebServerUrl);
  return cutAfterlifeSuffix(Path::UnzipFileName(Path::GetFileName(url)));
}

std::string Controller::cutAfterlifeSuffix(std::string archiveName) {
  return String::Split(archiveName, "_d").front();
}

std::string Controller::getPatchName() {
  std::string patchTemplate = settings->GetString(SettingsPath::PatchTemplate);
  return String::Replace(patchTemplate, "*", settings->GetString(SettingsPath::PatchVersion));
}

std::string Controller::getWebServerPath() {
  std::string unpackName = getWebServerUnPackName();
  std::string result = settings->GetString(SettingsPath::WebServerPath);
  int port = settings->GetInteger(SettingsPath::WebServerPort);
  if (unpackName.size() > 4 && unpackName.compare(0, 4, "vaq-") == 0)
    unpackName = unpackName.substr(4);
  return result + unpackName + "_" + std::to_string(port) + "/ctl";
}
