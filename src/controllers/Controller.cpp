#include "controllers/Controller.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "app/Logger.h"
#include "app/Resources.h"
#include "app/Settings.h"
#include "app/SettingsPath.h"
#include "app/SettingsSchema.h"
#include "app/StopSignals.h"
#include "app/Version.h"
#include "controllers/BackgroundDownload.h"
#include "controllers/CommandRunner.h"
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
    runner = std::make_unique<SpawnRunner>(this->arguments->StepTimeout());
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

namespace {
// The pauses before the tries after the first.
const int RETRY_SECONDS[] = {1, 2, 4};
const int WGET_NETWORK_FAILURE = 4;
const int WGET_SERVER_ERROR = 8;
}  // namespace

int Controller::download(std::string url, std::string directory) {
  std::string local = LocalSource(url);
  if (!local.empty())
    return run({"cp", local, directory}, {local, directory});
  Command command = wgetCommand(url, directory);
  if (!dryRun && !Shell::IsOptionLike(url) && !Shell::IsOptionLike(directory))
    removeEarlierDownload(url, directory);
  std::string answers;
  int result = runKeepingErrors(command, {url, directory}, &answers);
  return retried(command, url, directory, result, answers);
}

int Controller::retried(Command command, const std::string& url, const std::string& directory,
                        int result, std::string answers) {
  for (int seconds : RETRY_SECONDS) {
    if (!worthRetrying(result, answers) || stopped())
      break;
    print(resources->texts["DOWNLOAD_RETRY"] + std::to_string(seconds) + " (wget " +
              FailedStep::Meaning("wget", result) + ")",
          BrightYellow);
    if (!pause(seconds))
      break;
    if (command.back() != "--continue")
      command.push_back("--continue");
    result = runKeepingErrors(command, {url, directory}, &answers);
  }
  return result;
}

Controller::Command Controller::wgetCommand(const std::string& url, const std::string& directory) {
  Command command = {"wget", url, "-P", directory, "--server-response"};
  if (arguments->IgnoreCerts())
    command.push_back("--no-check-certificate");
  return command;
}

bool Controller::needsDownload(const std::string& url, const std::string& directory,
                               const char* checksumPath) {
  std::string file = directory + "/" + Path::GetFileName(url);
  return LocalSource(url).empty() && !Shell::IsOptionLike(url) && !Shell::IsOptionLike(directory) &&
         Path::IsPlainName(Path::GetFileName(url)) && !hasVerifiedCopy(file, checksumPath);
}

std::unique_ptr<BackgroundDownload> Controller::downloadAhead(const std::string& url,
                                                              const std::string& directory) {
  if (dryRun || stopped())
    return nullptr;
  removeEarlierDownload(url, directory);
  Command command = wgetCommand(url, directory);
  std::string file = directory + "/" + Path::GetFileName(url);
  auto ahead = std::make_unique<BackgroundDownload>(command, file, file + ".output");
  logger->Write("Controller[" + name + "]::downloadAhead " + loggedLine(command) +
                (ahead->Started() ? " runs ahead." : " could not start ahead."));
  return ahead->Started() ? std::move(ahead) : nullptr;
}

// Logged as run logs a command, at the step the download belongs to.
int Controller::finishAhead(BackgroundDownload* ahead, const std::string& url,
                            const std::string& directory) {
  Command command = wgetCommand(url, directory);
  lastProgram = command.front();
  lastCommand = loggedLine(command);
  lastTimedOut = false;
  logger->Write("Controller[" + name + "]::run " + lastCommand + ".");
  int result = ahead->Wait([this] { return stopped(); });
  if (result < 0)
    result = StopSignals::StopRequested();
  std::string output = ahead->TakeOutput();
  logger->Write("Controller[" + name + "]::run result " + std::to_string(result) + " (" +
                CommandRunner::Meaning(result) + ", ran ahead).");
  logOutput(output, "finishAhead");
  return retried(command, url, directory, result, output);
}

std::string Controller::LocalSource(const std::string& url) {
  const std::string scheme = "file://";
  const std::string host = "localhost";
  if (!url.empty() && url[0] == '/')
    return url;
  if (url.compare(0, scheme.size(), scheme) != 0)
    return "";
  std::string path = url.substr(scheme.size());
  if (path.compare(0, host.size(), host) == 0)
    path.erase(0, host.size());
  return !path.empty() && path[0] == '/' ? path : "";
}

// The last status line wget printed with --server-response ("  HTTP/1.1 503 ...") tells a
// server error from a refusal.
bool Controller::worthRetrying(int status, const std::string& answers) {
  if (status <= 0 || !WIFEXITED(status))
    return false;
  if (WEXITSTATUS(status) == WGET_NETWORK_FAILURE)
    return true;
  if (WEXITSTATUS(status) != WGET_SERVER_ERROR)
    return false;
  size_t line = answers.rfind("  HTTP/");
  if (line == std::string::npos)
    return false;
  size_t code = answers.find(' ', line + 2);
  return code != std::string::npos && answers.compare(code, 2, " 5") == 0;
}

bool Controller::pause(int seconds) const {
  const auto step = std::chrono::milliseconds(50);
  auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  while (!stopped() && std::chrono::steady_clock::now() < end)
    std::this_thread::sleep_for(step);
  return !stopped();
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
  return runKeepingErrors(command, paths, nullptr);
}

int Controller::runKeepingErrors(const Command& command, std::initializer_list<std::string> paths,
                                 std::string* errors) {
  std::string line = loggedLine(command);
  lastProgram = command.empty() ? "" : command.front();
  lastCommand = line;
  for (const std::string& path : paths) {
    if (Shell::IsOptionLike(path)) {
      // NOLINTNEXTLINE(performance-inefficient-string-concatenation): once, then the return
      logger->Write("Controller[" + name + "]::run refused " + line + " because " + path +
                    " begins with -.");
      return REFUSED;
    }
  }
  if (int stop = StopSignals::StopRequested()) {
    logger->Write("Controller[" + name + "]::run skipped " + line + ": stopped by signal " +
                  std::to_string(stop) + ".");
    return SKIPPED;
  }
  logger->Write("Controller[" + name + "]::run " + line + ".");
  std::fflush(stdout);
  CommandRunner::Result result = runner->Run(command);
  logger->Write("Controller[" + name + "]::run result " + std::to_string(result.status) + " (" +
                result.meaning + ").");
  if (result.status != 0)
    logOutput(result.output);
  if (errors)
    *errors = std::move(result.output);
  leaveLostTerminal();
  lastTimedOut = result.timedOut;
  if (result.timedOut) {
    print(resources->texts["STEP_TIMEOUT"] + std::to_string(arguments->StepTimeout()), Red);
    return result.status != 0 ? result.status : SIGTERM;  // a step that timed out has failed
  }
  // A command that outlived the stop passed on to it (bash ignores SIGQUIT) is read as killed
  // by it all the same, so that the action ends here as it does when the command dies.
  if (int stop = StopSignals::StopRequested())
    return stop;
  return result.status;
}

// What a failed command said last, for the log: its last lines, each cut as a value is.
void Controller::logOutput(const std::string& output, const std::string& method) {
  const size_t lastLines = 20;
  std::string text;
  for (const std::string& line : CommandRunner::LastLines(output, lastLines))
    text += "\n    " + Logger::Excerpt(line);
  if (!text.empty())
    logger->Write("Controller[" + name + "]::" + method + " output, last lines:" + text);
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
  if (result == SKIPPED)
    return false;
  if (result != 0) {
    std::string timedOut = lastProgram + " ran longer than " +
                           std::to_string(arguments->StepTimeout()) + " seconds and was stopped";
    this->failure = {currentStep, lastProgram, result, lastTimedOut ? timedOut : "", lastCommand};
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
  failure.command = "wget " + url;
  failure.status = 1;
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
  std::string actual;
  std::string reason;
  if (!Sha256::OfFile(file, &actual, &reason)) {
    print(resources->texts["SHA256_UNREADABLE"] + file + " (" + reason + ")", Red);
    failure = {currentStep, "", 0, file + " cannot be read for its checksum", ""};
    return false;
  }
  if (actual == expected) {
    print(resources->texts["SHA256_MATCH"] + file, Green);
    return true;
  }
  print(resources->texts["SHA256_MISMATCH"] + file + " (" + resources->texts["SHA256_EXPECTED"] +
            expected + ", " + resources->texts["SHA256_ACTUAL"] + actual + ")",
        Red);
  failure = {currentStep, "", 0, "the checksum of " + file + " differs from the setting", ""};
  std::error_code error;
  std::filesystem::remove(file, error);
  return false;
}

bool Controller::fileIn(const std::string& folder, const std::string& fileName, std::string* path) {
  if (!Path::IsPlainName(fileName)) {
    print(resources->texts["FILE_NAME_REFUSED"] + fileName, Red);
    return false;
  }
  *path = folder + "/" + fileName;
  return true;
}

bool Controller::downloadFolderUsable(const std::string& folder) {
  std::error_code error;
  std::filesystem::file_status status = std::filesystem::symlink_status(folder, error);
  if (std::filesystem::is_directory(status) ||
      (dryRun && status.type() == std::filesystem::file_type::not_found))
    return true;
  print(resources->texts["DOWNLOAD_FOLDER_REFUSED"] + folder, Red);
  return false;
}

bool Controller::fetch(const std::string& url, const std::string& directory,
                       const char* checksumPath, const std::string& failure,
                       const std::string& success, BackgroundDownload* ahead,
                       const std::function<void()>& there) {
  std::string file = directory + "/" + Path::GetFileName(url);
  bool verified = !ahead && isVerifiedCopy(file, checksumPath);
  if (!verified && !report(ahead ? finishAhead(ahead, url, directory) : download(url, directory),
                           failure, success))
    return false;
  if (there)
    there();
  return verified || verify(file, checksumPath);
}

bool Controller::isVerifiedCopy(const std::string& file, const char* checksumPath) {
  if (!hasVerifiedCopy(file, checksumPath))
    return false;
  print(resources->texts["DOWNLOAD_CACHED"] + file, Green);
  return true;
}

bool Controller::hasVerifiedCopy(const std::string& file, const char* checksumPath) {
  std::string expected = Sha256::Normalised(settings->GetOptionalString(checksumPath));
  std::error_code error;
  if (expected.empty() ||
      !std::filesystem::is_regular_file(std::filesystem::symlink_status(file, error)))
    return false;
  std::string actual;
  std::string reason;
  return Sha256::OfFile(file, &actual, &reason) && actual == expected;
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
