#pragma once

#include <map>
#include <memory>
#include <string>

#include "support/LoopbackServer.h"
#include "support/TempDir.h"

// A place where the deployment actions run for real: a temporary folder with
//   served/       files offered by a LoopbackServer (archives, patches): Url(name)
//   app/         the working folder of the action (its "temp" folder, settings, resources, log)
//   docker/, web/ the unpack folders of the container runtime and of the web server
//   bin/wget      a wget that records its arguments and runs the real wget
//   records.txt   one line per script or wget run: the label, then every argument as " [arg]"
// Scripts made here are bash scripts that append their line to records.txt and exit with the
// status they were given, so a test sees exactly what each script received and in which order.
//
// The site also keeps the 18 settings (defaults point at the folders and archives named below)
// and writes them as a settings file on request. Nothing here depends on the deploying code.
class DeploymentSite {
 public:
  static const char* const RUNTIME_ARCHIVE;     // "runtime-1.0.tar.gz", unpacks to runtime-1.0/
  static const char* const WEB_SERVER_ARCHIVE;  // "vaq-web_d2.tar.gz", unpacks to vaq-web/
  static const char* const PATCH_FOLDER;        // "patches", the served folder of Patch/Url

  DeploymentSite();
  ~DeploymentSite();
  DeploymentSite(const DeploymentSite&) = delete;
  DeploymentSite& operator=(const DeploymentSite&) = delete;

  std::string Path(const std::string& name) const { return folder.File(name); }
  std::string Url(const std::string& name) const { return server->Url(name); }
  LoopbackServer& Server() { return *server; }

  // A served archive with the top folder unpackName holding install.sh and uninstall.sh, labelled
  // unpackName + "/install.sh" and so on, followed by " " + note when a note is given.
  void ServeArchive(const std::string& fileName, const std::string& unpackName, int installStatus,
                    int uninstallStatus, const std::string& note = "");
  void ServeFile(const std::string& name, const std::string& content);
  // Serves the runtime archive with an install.sh of the given text.
  void ServeRuntime(const std::string& install);
  // A recording script at path, labelled label.
  void WriteScript(const std::string& path, const std::string& label, int status,
                   const std::string& before = "") const;
  // ws_addapp.sh, ws_updapp.sh and ws_delapp.sh (labelled so) and tar_files/ in controlPath.
  // ws_addapp.sh and ws_updapp.sh, when they succeed, record the patch given with -a as the one
  // deployed (see HealthUrl).
  // Everything a deploy needs, all succeeding: the runtime and web server archives and the patch
  // 24.2.0.7 served, and the web server's control folder web/web_8080/ctl.
  void ServeEverything();
  void MakeControlDirectory(const std::string& controlPath, int addStatus, int updateStatus,
                            int deleteStatus) const;
  // Puts bin/wget first on PATH until the site ends.
  void RecordDownloads();
  std::string Records() const;

  // The address of a health server (started on the first call) that answers 200 while the
  // patch deployed last is good, and 500 while it is one marked bad or none was deployed.
  std::string HealthUrl();
  void MarkBad(const std::string& patchName) const;
  // The patch file name deployed last ("" before any).
  std::string Deployed() const;
  void ClearRecords() const;

  void Set(const std::string& path, const std::string& value);
  void SetInteger(const std::string& path, int value);
  // Any JSON value as written, such as "80.5" or "\"3\"".
  void SetLiteral(const std::string& path, const std::string& json);
  // Writes the settings as JSON to the file and returns its path.
  std::string WriteSettings(const std::string& file) const;

 private:
  void setDefaults();
  // Packs stage/fileName/unpackName into the served file.
  void pack(const std::string& fileName, const std::string& unpackName) const;

  TempDir folder;
  std::unique_ptr<LoopbackServer> server;
  std::unique_ptr<LoopbackServer> healthServer;
  std::map<std::string, std::string> values;  // path to JSON literal
  std::string savedPath;
};
