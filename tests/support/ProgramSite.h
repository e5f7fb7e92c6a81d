#pragma once

#include <string>
#include <vector>

#include "support/DeploymentSite.h"

// The built program run on a DeploymentSite's work folder as a script runs it: standard input
// from /dev/null, standard output and error kept. The site is ready for a deploy without the
// runtime and the web server (--no-runtime --no-web-server): the control folder of the web
// server is there and the patches 24.2.0.7 to 24.2.0.9 are served.
class ProgramSite {
 public:
  struct Call {
    int status = -1;
    std::string out;
    std::string err;
  };

  static const std::string PROGRAM;
  static bool Built();

  ProgramSite();

  // Writes the site's settings into the work folder (replacing what the program saved).
  void WriteSettings();
  Call Run(const std::vector<std::string>& arguments, const std::string& folder = "");
  // A shell command line run with its output and errors kept.
  Call Shell(const std::string& line);
  // The command line of the program on folder (the work folder when empty).
  std::string Command(const std::vector<std::string>& arguments,
                      const std::string& folder = "") const;
  std::string Read(const std::string& name) const;

  DeploymentSite site;
};
