#pragma once

#include <functional>
#include <memory>
#include <set>
#include <string>

#include "controllers/Controller.h"

// The deploy action: saves pending settings, optionally installs the container runtime and the
// web server from downloaded archives, downloads the patch into the web server and registers the
// application. The first failing step ends the action. Once the runtime's archive is there, the web
// server's archive and the patch download ahead; each step waits for its own.
class BackgroundDownload;

class DeployController : public Controller {
 public:
  // Takes ownership of arguments; throws when Patch/Version is no version.
  DeployController(ControllerArguments* arguments, Version* programVersion);
  ~DeployController() override;

  void Execute() override;
  bool downloadAndInstallDocker();
  bool downloadAndInstallWebServer();

 private:
  struct UnpackTexts {
    std::string denied, granted, failed, success;
  };
  // The lines of one step: announced, then failed (followed by the result) or succeeded.
  struct StepTexts {
    std::string announce, failure, success;
  };
  // What differs between installing the runtime and the web server: the settings read and the
  // lines printed.
  struct Component {
    std::string what;  // in the names of the steps
    const char* url;
    const char* sha256;
    const char* folder;
    bool unzipInColour;
    StepTexts download;
    std::string unzip;
    UnpackTexts unpack;
    StepTexts install;
  };

  Component dockerComponent();
  Component webServerComponent();
  void executeSteps();
  void startDownloadsAhead();
  std::string patchUrl(const std::string& patchName);
  // The patch's download into temp/ (ahead, or now in a dry run), then moved to file.
  int downloadPatchThroughTemp(const std::string& url, const std::string& file);
  // Downloads and checks the component's archive, or takes the one downloaded ahead; there runs
  // once the archive is in place, before it is checked.
  bool downloadArchive(const Component& component, BackgroundDownload* ahead,
                       const std::function<void()>& there = nullptr);
  // Unpacks the component's archive into the folder of its setting, which is stored in folder.
  bool unpackArchive(const Component& component, std::string* folder);
  bool install(const Component& component, const Command& command, const std::string& path);
  void makeTempFolder();
  // Removes from temp/ what this deploy did not use, unless the downloads are to be kept.
  void tidyTempFolder();
  void noticeVersion();
  bool downloadPatch(const std::string& folder, const std::string& patchName);
  bool grantPatch(const std::string& folder, const std::string& patchName);
  void registerPatch(const std::string& controlPath, const std::string& patchName);
  Command registrationCommand(const std::string& controlPath, const std::string& patchName);
  Command webServerInstallCommand(const std::string& serverFolder);
  // Grants and unpacks the archive downloaded from url into the folder named by folderSetting,
  // which is stored in folder.
  bool unpack(const std::string& url, const std::string& folderSetting, const UnpackTexts& texts,
              std::string* folder);
  bool before24_2();

  std::unique_ptr<Version> patchVersion;
  // The names of the files in temp/ that this deploy used.
  std::set<std::string> usedDownloads;
  std::unique_ptr<BackgroundDownload> webServerAhead;
  std::unique_ptr<BackgroundDownload> patchAhead;
  // The patch comes through temp/ (it was started ahead, or would have been in a dry run).
  bool patchThroughTemp = false;
};
