#pragma once

#include <cstdio>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "controllers/FailedStep.h"
#include "util/Color.h"

class BackgroundDownload;
class CommandRunner;
class ControllerArguments;
class Logger;
class Resources;
class Settings;
class Version;

// Base of the actions run after the text interface has closed. It prints the progress lines,
// runs commands one at a time, each as its words without a shell, and derives the names and
// folders that the actions share from the settings. In a dry run it prints only the command
// lines, runs and writes nothing, and shows the progress lines in the log alone (failure lines
// go to standard error).
class Controller {
 public:
  // The result of a step that was not run because one of its paths would be read as an option.
  static constexpr int REFUSED = -1;
  // The result of a step that was not run because a stop signal had arrived.
  static constexpr int SKIPPED = -2;

  // Takes ownership of arguments. The target version is derived from the second and third parts
  // of programVersion, which is not kept.
  Controller(ControllerArguments* arguments, Version* programVersion, std::string name);
  virtual ~Controller();
  Controller(const Controller&) = delete;
  Controller& operator=(const Controller&) = delete;

  virtual void Execute();
  // True when the last Execute carried the action out; false before and after a failure.
  bool Succeeded() const { return succeeded; }
  // The step whose failure ended the last Execute (nothing failed when !Failed()).
  const FailedStep& Failure() const { return failure; }
  // True when a failed update was returned to the previous good release.
  bool RolledBack() const { return rolledBack; }
  // The command of the step that failed and its wait status; "" when no command failed.
  const std::string& FailedCommand() const { return failure.command; }
  int FailedStatus() const { return failure.status; }

  // Writes the message and a newline to standard output (not in a dry run); logs it unless quiet.
  void print(std::string message, bool quiet);
  void print(std::string message);
  // Prints the message in colour and logs it without the colour codes. In a dry run a red line
  // goes to standard error and any other only to the log.
  void print(std::string message, Color color);
  // Downloads url into directory with wget, replacing a copy left by an earlier run. A try that
  // fails for a network reason (no connection, or a 5xx answer) is followed by up to three more
  // after 1, 2 and 4 seconds, each continuing the partial file, with a yellow line before each;
  // a stop request ends the waiting. Returns the wait status of the last wget (as system()
  // reports it), or REFUSED. A url that is an absolute path or a file:// address names a local
  // file, which is copied with cp instead.
  int download(std::string url, std::string directory);
  // The path of the local file that url names ("/srv/a.tar.gz", "file:///srv/a.tar.gz",
  // "file://localhost/srv/a.tar.gz"); "" for an address to download.
  static std::string LocalSource(const std::string& url);

  Version getTargetVersion();
  std::string getDockerUnPackName();
  std::string getWebServerUnPackName();
  std::string cutAfterlifeSuffix(std::string archiveName);
  std::string getPatchName();
  std::string getWebServerPath();

 protected:
  using Command = std::vector<std::string>;
  // Runs the command (the program and its arguments) unless one of the paths begins with "-", and
  // returns its wait status as system() reports it (exit status N as N * 256), REFUSED or
  // SKIPPED; a command during which a stop signal arrived returns that signal's number, as if
  // killed by it, whatever its own end. The command and its result are logged; standard output
  // is flushed first so the printed lines and the command's own output stay in order.
  int run(const Command& command, std::initializer_list<std::string> paths = {});
  // Runs the command as run does, keeping the end of its output (standard output and error) in
  // errors. After a command that failed, the log holds its last 20 lines (see logOutput).
  int runKeepingErrors(const Command& command, std::initializer_list<std::string> paths,
                       std::string* errors);
  static std::string code(int result) { return std::to_string(result); }
  // Names the step that the following commands belong to, for the record of a failure.
  void beginStep(const std::string& step) { currentStep = step; }
  // Prints success in green after a result of 0, otherwise failure and the result in red, and
  // records the failure of the current step and the program run last; prints nothing for a step
  // that was SKIPPED.
  bool report(int result, const std::string& failure, const std::string& success);
  // True once SIGINT, SIGTERM or SIGQUIT asked the program to stop: no further step runs (run
  // then skips every command, returning SKIPPED).
  bool stopped() const;
  // Checks the application's health address (Install/HealthUrl) after it was registered or
  // updated: a green line with the seconds it took, or a red line with the last status or error
  // and false. Without an address, a yellow line says that nothing was checked.
  bool checkHealth();
  // Saves the settings when they were changed and says so; a dry run only says so.
  void saveSettings();
  // Checks a file just downloaded against the checksum setting at checksumPath, before anything
  // else touches it: a green line when it matches; a red line with both digests when it does
  // not, and the file is removed; a yellow line when no checksum is set, and the file is used
  // unverified. False after a mismatch or when the file cannot be read. A dry run prints the
  // check as a comment line instead ("# sha256 FILE must be DIGEST"), when a checksum is set.
  bool verify(const std::string& file, const char* checksumPath);
  // The path of the file fileName in folder, where it is (or will be) downloaded to. A name that
  // is not one plain component (Path::IsPlainName) would reach outside the folder or read as an
  // option: it is refused with a red line, and false.
  bool fileIn(const std::string& folder, const std::string& fileName, std::string* path);
  // Downloads go to the folder "temp" of the working folder; one that is a symbolic link or not a
  // folder would put them elsewhere, so the action stops there with a red line (false). A dry run
  // accepts one that is not there yet.
  bool downloadFolderUsable(const std::string& folder);
  // Brings the file of url into directory and checks it (verify): a copy already there whose
  // digest is the checksum setting's is used as it is, with a green line; otherwise it is
  // downloaded, printing failure and the result or success. False when no checked file is there.
  // With ahead, the file comes from that download instead (see finishAhead), then is checked.
  // there, when given, runs once the file is in place: before a downloaded file is checked.
  bool fetch(const std::string& url, const std::string& directory, const char* checksumPath,
             const std::string& failure, const std::string& success,
             BackgroundDownload* ahead = nullptr, const std::function<void()>& there = nullptr);
  // True when fetch would download url into directory: not a local source, nothing refused, and
  // no copy there whose digest is the checksum setting's (nothing is printed).
  bool needsDownload(const std::string& url, const std::string& directory,
                     const char* checksumPath);
  // Starts downloading url into directory with download's wget command, in the background
  // (BackgroundDownload, its output kept in the file's name + ".output"), after removing an
  // earlier copy; the log says that it runs ahead. nullptr in a dry run, after a stop request,
  // or when it cannot start.
  std::unique_ptr<BackgroundDownload> downloadAhead(const std::string& url,
                                                    const std::string& directory);
  // Waits for a download started ahead and logs it as run logs its command, with its output; one
  // that failed for a network reason is tried again as download tries, with the same lines.
  // Returns the wait status as download does; a stop request while waiting ends the download,
  // and its signal's number is returned.
  int finishAhead(BackgroundDownload* ahead, const std::string& url, const std::string& directory);

  std::unique_ptr<Version> targetVersion;
  std::unique_ptr<ControllerArguments> arguments;
  Logger* logger;
  Resources* resources;
  Settings* settings;
  std::string name;
  bool succeeded = false;
  bool rolledBack = false;
  // The failed step, for the closing line (failure) and the journal (its command line and status).
  FailedStep failure;
  // Copied from the arguments: it chooses how commands run.
  bool dryRun;

 private:
  // The tries after a first wget that ended with result and answers (see download).
  int retried(Command command, const std::string& url, const std::string& directory, int result,
              std::string answers);
  Command wgetCommand(const std::string& url, const std::string& directory);
  bool hasVerifiedCopy(const std::string& file, const char* checksumPath);
  void removeEarlierDownload(const std::string& url, const std::string& directory);
  // True for a wget status (and its server answers) that another try may cure.
  bool isVerifiedCopy(const std::string& file, const char* checksumPath);
  static bool worthRetrying(int status, const std::string& answers);
  // Waits the seconds unless a stop is requested; false when one was.
  bool pause(int seconds) const;
  void leaveLostTerminal();
  void logOutput(const std::string& output, const std::string& method = "run");
  static std::string loggedLine(const Command& command);
  static void writeLine(std::FILE* stream, const std::string& message);

  std::unique_ptr<CommandRunner> runner;
  std::string currentStep;
  std::string lastProgram;
  bool lastTimedOut = false;
  std::string lastCommand;
};
