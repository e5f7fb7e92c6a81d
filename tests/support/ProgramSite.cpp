#include "support/ProgramSite.h"

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include "controllers/Shell.h"
#include "support/TempDir.h"

const std::string ProgramSite::PROGRAM = DEPLOYER_BINARY_DIR "/deployer";

bool ProgramSite::Built() {
  return std::filesystem::exists(PROGRAM);
}

ProgramSite::ProgramSite() {
  std::filesystem::copy_file(DEPLOYER_SOURCE_DIR "/share/Resources.res",
                             site.Path("app/Resources.res"));
  for (const char* version : {"24.2.0.7", "24.2.0.8", "24.2.0.9"})
    site.ServeFile(std::string("patches/app-") + version + ".sh", "echo patch\n");
  site.MakeControlDirectory(site.Path("web/web_8080/ctl"), 0, 0, 0);
  WriteSettings();
}

void ProgramSite::WriteSettings() {
  site.WriteSettings("app/Settings.json");
}

std::string ProgramSite::Command(const std::vector<std::string>& arguments,
                                 const std::string& folder) const {
  std::string line =
      Shell::Word(PROGRAM) + " -C " + Shell::Word(folder.empty() ? site.Path("app") : folder);
  for (const std::string& argument : arguments)
    line += " " + Shell::Word(argument);
  return line;
}

ProgramSite::Call ProgramSite::Run(const std::vector<std::string>& arguments,
                                   const std::string& folder) {
  return Shell(Command(arguments, folder) + " </dev/null");
}

ProgramSite::Call ProgramSite::Shell(const std::string& line) {
  int result =
      std::system((line + " >" + site.Path("out.txt") + " 2>" + site.Path("err.txt")).c_str());
  return {WIFEXITED(result) ? WEXITSTATUS(result) : -1, Read("out.txt"), Read("err.txt")};
}

std::string ProgramSite::Read(const std::string& name) const {
  return TempDir::ReadFile(site.Path(name));
}
