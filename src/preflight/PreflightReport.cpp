#include "preflight/PreflightReport.h"

#include "app/Resources.h"
#include "preflight/Preflight.h"
#include "util/JsonEscape.h"
#include "util/String.h"

std::string PreflightReport::Problems(const std::vector<CheckResult>& results) {
  std::string lines;
  for (const CheckResult& result : results)
    if (!result.ok || result.warning)
      lines +=
          String::Highlight(result.name + ": " + result.detail, result.ok ? BrightYellow : Red) +
          "\n";
  return lines;
}

std::string PreflightReport::Lines(const std::vector<CheckResult>& results, Resources* resources,
                                   const std::string& action) {
  std::string lines = Problems(results);
  if (Preflight::Passed(results))
    lines += String::Highlight(resources->texts["PREFLIGHT_PASSED"] + action, Green) + "\n";
  return lines;
}

std::string PreflightReport::Json(const std::vector<CheckResult>& results,
                                  const std::string& action) {
  std::string out = "{\"action\":";
  JsonEscape::AppendQuoted(&out, action);
  out += ",\"checks\":[";
  for (size_t i = 0; i < results.size(); ++i) {
    out += i == 0 ? "{\"detail\":" : ",{\"detail\":";
    JsonEscape::AppendQuoted(&out, results[i].detail);
    out += ",\"name\":";
    JsonEscape::AppendQuoted(&out, results[i].name);
    out += std::string(",\"ok\":") + (results[i].ok ? "true" : "false") + "}";
  }
  return out + "],\"ok\":" + (Preflight::Passed(results) ? "true" : "false") + "}\n";
}

std::string PreflightReport::Comments(const std::vector<std::string>& planned) {
  std::string lines;
  for (const std::string& check : planned)
    lines += "# check " + check + "\n";
  return lines;
}
