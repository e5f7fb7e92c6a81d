#pragma once

// The paths of the settings the program reads and writes, in the order of their keys in the file.
// The optional ones may be absent from a file (see Settings::GetOptionalString).
class SettingsPath {
 public:
  static constexpr const char* ConnectionBase = "Connection/Base";
  static constexpr const char* ConnectionServer = "Connection/Server";
  static constexpr const char* ConnectionType = "Connection/Type";
  static constexpr const char* DockerPath = "Docker/Path";
  static constexpr const char* DockerSha256 = "Docker/Sha256";  // optional
  static constexpr const char* DockerUrl = "Docker/Url";
  static constexpr const char* InstallCatalog = "Install/Catalog";
  static constexpr const char* InstallComplexId = "Install/ComplexId";
  static constexpr const char* InstallDll = "Install/DLL";
  static constexpr const char* InstallHealthTimeout = "Install/HealthTimeout";  // optional
  static constexpr const char* InstallHealthUrl = "Install/HealthUrl";          // optional
  static constexpr const char* InstallPort = "Install/Port";
  static constexpr const char* PatchSha256 = "Patch/Sha256";  // optional
  static constexpr const char* PatchTemplate = "Patch/Template";
  static constexpr const char* PatchUrl = "Patch/Url";
  static constexpr const char* PatchVersion = "Patch/Version";
  static constexpr const char* WebServerContSoft = "WebServer/ContSoft";
  static constexpr const char* WebServerDebugPort = "WebServer/DebugPort";
  static constexpr const char* WebServerPath = "WebServer/Path";
  static constexpr const char* WebServerPort = "WebServer/Port";
  static constexpr const char* WebServerSha256 = "WebServer/Sha256";  // optional
  static constexpr const char* WebServerType = "WebServer/Type";
  static constexpr const char* WebServerUrl = "WebServer/Url";
};
