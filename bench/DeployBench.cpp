// A full deploy (runtime, web server, patch, registration) against a loopback server, once through
// DeployController and once as a bash script running the same command lines, in the same run. The
// closing line gives the ratio of the two medians. A second case runs against a server that sends
// each connection at most 20 MB/s, with three 40 MB downloads and installers that take a second,
// where the controller's downloads ahead overlap the installs.
#include <benchmark/benchmark.h>

#include <cstdio>

#if __has_include("support/DeploymentSite.h")

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>

#include "RatioReporter.h"
#include "app/Logger.h"
#include "app/Resources.h"
#include "app/Settings.h"
#include "app/Version.h"
#include "controllers/ControllerArguments.h"
#include "controllers/DeployController.h"
#include "support/DeploymentSite.h"
#include "support/LoopbackServer.h"
#include "support/WorkingDirectory.h"
#include "util/Sha256.h"

namespace {

// A loopback server (python3 SCRIPT PORT FOLDER) that sends each answer at most 20 MB/s.
const char* const THROTTLED_SERVER = R"(import functools, http.server, sys, time
port, folder = int(sys.argv[1]), sys.argv[2]
RATE, CHUNK = 20 * 1000 * 1000, 256 * 1024
class Handler(http.server.SimpleHTTPRequestHandler):
    def copyfile(self, source, output):
        start, sent = time.monotonic(), 0
        while True:
            data = source.read(CHUNK)
            if not data:
                return
            output.write(data)
            sent += len(data)
            early = sent / RATE - (time.monotonic() - start)
            if early > 0:
                time.sleep(early)
    def log_message(self, *arguments):
        pass
handler = functools.partial(Handler, directory=folder)
http.server.ThreadingHTTPServer(('127.0.0.1', port), handler).serve_forever()
)";

// The site with a control directory and everything served, and the shared services.
struct Stage {
  Stage()
      : directory(site.Path("app")),
        program("1.24.2.1"),
        logger(site.Path("app/log.txt")),
        resources(&logger, site.Path("app/Resources.res")),
        settings(&logger, site.WriteSettings("app/Settings.json")) {
    site.ServeEverything();
    settings.Load();
    setChecksums();
    std::ofstream(site.Path("app/deploy.sh")) << script();
  }

  std::string controlPath() const { return site.Path("web/web_8080/ctl"); }

  // Serves 40 MB downloads whose installers take a second from a server sending 20 MB/s.
  void throttle() {
    const std::pair<const char*, const char*> archives[] = {
        {DeploymentSite::RUNTIME_ARCHIVE, "runtime-1.0"},
        {DeploymentSite::WEB_SERVER_ARCHIVE, "vaq-web"}};
    for (const auto& [archive, top] : archives) {
      std::string stage = site.Path(std::string("slow/") + top);
      std::filesystem::create_directories(stage);
      std::ofstream(stage + "/install.sh") << "sleep 1\n";
      run("head -c 40M /dev/urandom > " + stage + "/payload && tar -C " + site.Path("slow") +
          " -cf " + site.Path("served/") + archive + " " + top);
    }
    run("head -c 40M /dev/urandom > " + site.Path("served/patches/app-24.2.0.7.sh"));
    std::ofstream(site.Path("throttled.py")) << THROTTLED_SERVER;
    server = std::make_unique<LoopbackServer>(site.Path("served"), site.Path("throttled.py"));
    settings.SetString("Docker/Url", url(DeploymentSite::RUNTIME_ARCHIVE));
    settings.SetString("WebServer/Url", url(DeploymentSite::WEB_SERVER_ARCHIVE));
    settings.SetString("Patch/Url", url("patches"));
    setChecksums();
    settings.Save();
    std::ofstream(site.Path("app/deploy.sh")) << script();
  }

  static void run(const std::string& line) {
    if (std::system(line.c_str()) != 0)
      std::fprintf(stderr, "failed: %s\n", line.c_str());
  }

  std::string url(const std::string& name) const {
    return server ? server->Url(name) : site.Url(name);
  }

  // Every download has its checksum, so that a redeploy can use the verified copies.
  void setChecksums() {
    const std::pair<const char*, std::string> served[] = {
        {"Docker/Sha256", DeploymentSite::RUNTIME_ARCHIVE},
        {"WebServer/Sha256", DeploymentSite::WEB_SERVER_ARCHIVE},
        {"Patch/Sha256", "patches/app-24.2.0.7.sh"}};
    for (const auto& [path, name] : served) {
      std::string digest;
      std::string reason;
      Sha256::OfFile(site.Path("served/" + name), &digest, &reason);
      settings.SetOptionalString(path, digest);
    }
  }

  // The command lines the deploy runs, with its progress lines written by the shell's own echo.
  std::string script() const {
    std::string ctl = controlPath();
    std::string docker = site.Path("docker/"), web = site.Path("web/");
    return "echo -e \"\\e[1;33mSAVE_CONFIG_SKIPPED\\e[0m\"\n"
           "mkdir temp\n"
           "echo -e \"\\e[1;33mDOWNLOAD_DOCKER\\e[0m\"\n"
           "wget " +
           url(DeploymentSite::RUNTIME_ARCHIVE) +
           " -P ./temp --server-response\n"
           "echo -e \"\\e[0;32mDOWNLOAD_DOCKER_SUCCESS\\e[0m\"\n"
           "chmod +x ./temp/runtime-1.0.tar.gz\n"
           "tar -C " +
           docker +
           " -xvf ./temp/runtime-1.0.tar.gz\n"
           "echo -e \"\\e[0;32mUNZIP_DOCKER_SUCCESS\\e[0m\"\n"
           "bash " +
           docker +
           "runtime-1.0/install.sh\n"
           "echo -e \"\\e[0;32mDOCKER_INSTALL_SUCCESS\\e[0m\"\n"
           "wget " +
           url(DeploymentSite::WEB_SERVER_ARCHIVE) +
           " -P ./temp --server-response\n"
           "echo -e \"\\e[0;32mDOWNLOAD_SERVER_SUCCESS\\e[0m\"\n"
           "chmod +x ./temp/vaq-web_d2.tar.gz\n"
           "tar -C " +
           web +
           " -xvf ./temp/vaq-web_d2.tar.gz\n"
           "echo -e \"\\e[0;32mUNZIP_SERVER_SUCCESS\\e[0m\"\n"
           "bash " +
           web +
           "vaq-web/install.sh -ws \"nginx\" -p \"8080\" -cs \"docker\" "
           "-pp \"8000\" -l ru_RU.utf8\n"
           "echo -e \"\\e[0;32mSERVER_INSTALL_SUCCESS\\e[0m\"\n"
           "wget " +
           url("patches/app-24.2.0.7.sh") + " -P " + ctl +
           "/tar_files --server-response\n"
           "echo -e \"\\e[0;32mDOWNLOAD_PATCH_SUCCESS\\e[0m\"\n"
           "chmod +x " +
           ctl +
           "/tar_files/app-24.2.0.7.sh\n"
           "echo -e \"\\e[0;32mPATCH_GRANT_SUCCESS\\e[0m\"\n"
           "bash " +
           ctl +
           "/ws_addapp.sh -t \"CX1\" -a \"app-24.2.0.7.sh\" -p \"9090\" "
           "-vc \"main\" -st \"1\" -sn \"db.local\" -dn \"appdb\"\n"
           "echo -e \"\\e[0;32mDEPLOY_SUCCESS\\e[0m\"\n";
  }

  // Removes what the previous deploy downloaded, so both sides download afresh.
  void clearDownloads() {
    std::filesystem::remove_all(site.Path("app/temp"));
    std::filesystem::remove(controlPath() + "/tar_files/app-24.2.0.7.sh");
    site.ClearRecords();
  }

  DeploymentSite site;
  WorkingDirectory directory;
  Version program;
  Logger logger;
  Resources resources;
  Settings settings;
  std::unique_ptr<LoopbackServer> server;  // the throttled one, once there
};

Stage* stage = nullptr;
Stage* slow = nullptr;

// Sends standard output and error to /dev/null while it lives.
class Silence {
 public:
  Silence() : out(dup(1)), err(dup(2)) {
    std::fflush(stdout);
    int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    dup2(null, 2);
    close(null);
  }
  ~Silence() {
    std::fflush(stdout);
    dup2(out, 1);
    dup2(err, 2);
    close(out);
    close(err);
  }

 private:
  int out, err;
};

// Deploys through the controller, each time afresh or, with checksums unchanged, with the
// verified copies of the run before (nothing is fetched then).
void deployThroughController(benchmark::State& state, bool afresh, Stage* on = stage) {
  Silence silence;
  std::filesystem::current_path(on->site.Path("app"));
  for (auto _ : state) {
    if (afresh) {
      state.PauseTiming();
      on->clearDownloads();
      state.ResumeTiming();
    }
    DeployController controller(new ControllerArguments(&on->logger, &on->resources, &on->settings,
                                                        true, true, false, "", false),
                                &on->program);
    controller.Execute();
    if (!controller.Succeeded())
      state.SkipWithError("the deploy failed");
  }
}

void DeployThroughController(benchmark::State& state) {
  deployThroughController(state, true);
}

void RedeployThroughController(benchmark::State& state) {
  deployThroughController(state, false);
}

void deployThroughScript(benchmark::State& state, Stage* on) {
  Silence silence;
  std::filesystem::current_path(on->site.Path("app"));
  for (auto _ : state) {
    state.PauseTiming();
    on->clearDownloads();
    state.ResumeTiming();
    if (std::system("bash deploy.sh") != 0)
      state.SkipWithError("the script failed");
  }
}

void DeployThroughScript(benchmark::State& state) {
  deployThroughScript(state, stage);
}

void OverlappedDeploy(benchmark::State& state) {
  deployThroughController(state, true, slow);
}

void SequentialScript(benchmark::State& state) {
  deployThroughScript(state, slow);
}

// Real time in milliseconds: the loopback cases several times, the throttled ones, which take
// seconds each, three times.
void quickRuns(benchmark::internal::Benchmark* runs) {
  runs->Iterations(3)->Repetitions(9)->UseRealTime()->Unit(benchmark::kMillisecond);
}

void slowRuns(benchmark::internal::Benchmark* runs) {
  runs->Iterations(1)->Repetitions(3)->UseRealTime()->Unit(benchmark::kMillisecond);
}

BENCHMARK(DeployThroughController)->Apply(quickRuns);
BENCHMARK(RedeployThroughController)->Apply(quickRuns);
BENCHMARK(DeployThroughScript)->Apply(quickRuns);
BENCHMARK(OverlappedDeploy)->Apply(slowRuns);
BENCHMARK(SequentialScript)->Apply(slowRuns);

}  // namespace

int main(int argc, char** argv) {
  Stage ready;
  Stage throttled;
  throttled.throttle();
  stage = &ready;
  slow = &throttled;
  return RunWithRatios(argc, argv,
                       {{"DeployThroughController", "DeployThroughScript"},
                        {"RedeployThroughController", "DeployThroughController"},
                        {"OverlappedDeploy", "SequentialScript"}},
                       {{"OverlappedDeploy", "ratio overlapped deploy / sequential script"}});
}

#else

int main() {
  std::puts("DeployBench needs the test helpers; configure with the tests.");
  return 0;
}

#endif
