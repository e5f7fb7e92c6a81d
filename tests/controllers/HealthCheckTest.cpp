#include "controllers/HealthCheck.h"

#include <gtest/gtest.h>

#include <chrono>

#include "controllers/SpawnRunner.h"
#include "support/DeploymentSite.h"

namespace {

HealthCheck::Outcome wait(const std::string& url, int timeout) {
  SpawnRunner runner;
  return HealthCheck(url, timeout, false)
      .Wait([&runner](const std::vector<std::string>& words) { return runner.Run(words).status; },
            [] { return false; }, HealthCheck::Mode::Until2xx);
}

}  // namespace

TEST(HealthCheck, GivesUpWithinASecondAfterItsTimeoutWithTheLastStatusOrError) {
  DeploymentSite site;
  std::string unhealthy = site.HealthUrl();  // nothing deployed: 500
  std::string closed = "http://127.0.0.1:1/health";
  const struct {
    std::string url;
    const char* detail;
  } cases[] = {{unhealthy, "HTTP 500"}, {closed, "refused"}};
  for (const auto& c : cases) {
    auto start = std::chrono::steady_clock::now();
    HealthCheck::Outcome outcome = wait(c.url, 2);
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_FALSE(outcome.ok);
    EXPECT_NE(outcome.detail.find(c.detail), std::string::npos) << outcome.detail;
    EXPECT_GE(seconds, 1.0) << c.url;
    EXPECT_LT(seconds, 3.0) << c.url;
  }
}

TEST(HealthCheck, AsksWithWgetAsACommandWithCertificatesIgnoredOnRequest) {
  std::vector<std::string> expected = {"wget",         "-q", "-O", "/dev/null",
                                       "--timeout=5",  "-t", "1",  "--no-check-certificate",
                                       "https://a/b c"};
  EXPECT_EQ(HealthCheck("https://a/b c", 60, true).Command(5, ""), expected);
}
