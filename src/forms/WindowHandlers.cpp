#include "app/Logger.h"
#include "app/Resources.h"
#include "app/Settings.h"
#include "app/WorkingLock.h"
#include "events/Handler.h"
#include "forms/AdditionsForm.h"
#include "forms/AlertForm.h"
#include "forms/ConfirmForm.h"
#include "forms/DockerCEForm.h"
#include "forms/InstallForm.h"
#include "forms/PatchForm.h"
#include "forms/WebServerTolmForm.h"
#include "forms/Window.h"
#include "ui/Button.h"

void Window::OnExit() {
  showModalForm(new ConfirmForm(
      logger, resources, settings, this, "ExitConfirmForm", resources->texts["EXIT_TITLE"],
      resources->texts["EXIT_QUESTION"], [this] { loop.Finish(); }, nullptr));
}

void Window::OnSave() {
  saveSettings(false);
}

// A file changed by another run since it was read is overwritten only after Yes; No keeps both
// the file and the edits. The question is asked without the lock held.
void Window::saveSettings(bool overwrite) {
  if (!takeLock("interface save"))
    return;
  bool changed = false;
  try {
    changed = !overwrite && settings->ChangedOnDisk();
    if (!changed)
      writeSettings();
  } catch (...) {
    releaseLock();
    throw;
  }
  releaseLock();
  if (!changed)
    return;
  logger->Write("Window::OnSave the settings file changed since it was read.");
  showDeleteQuestion("OverwriteConfirmForm", resources->texts["SETTINGS_CHANGED_TITLE"],
                     resources->texts["SETTINGS_CHANGED_OVERWRITE"],
                     [this] { Defer([this] { saveSettings(true); }); });
}

// A failed save leaves the settings as they were, still marked as changed, and says so.
void Window::writeSettings() {
  try {
    settings->Save();
  } catch (const char* message) {
    logger->Write("Window::OnSave failed:");
    logger->Write(message);
    showAlert("SaveAlertForm", resources->texts["SAVE_CONFIG"], resources->texts["SAVE_FAILED"]);
    return;
  }
  showAlert("SaveAlertForm", resources->texts["SAVE_CONFIG"], resources->texts["SAVED"]);
}

void Window::OnDeploy() {
  endWith(WindowAction::DEPLOY, "interface deploy");
}

void Window::OnUpdate() {
  endWith(WindowAction::UPDATE, "interface update");
}

void Window::endWith(int action, const std::string& what) {
  if (takeLock(what))
    loop.End(action);
}

bool Window::takeLock(const std::string& what) {
  if (lock == nullptr || lock->Take(what) != WorkingLock::Result::Busy)
    return true;
  std::string holder = lock->ReadHolder().Describe(resources->texts["LOCK_HELD_SINCE"],
                                                   resources->texts["LOCK_HELD_UNKNOWN"]);
  logger->Write("Window::takeLock the working folder is in use by " + holder + ".");
  showAlert("LockAlertForm", resources->texts["LOCK_HELD_TITLE"],
            resources->texts["LOCK_HELD"] + holder + resources->texts["LOCK_HELD_RETRY"]);
  return false;
}

void Window::releaseLock() {
  if (lock != nullptr)
    lock->Release();
}

void Window::OnDelete() {
  logger->Write("Window::OnDelete confirming.");
  showDeleteQuestion("DeleteConfirmForm", resources->texts["WARNING"],
                     resources->texts["DELETE_CURRENT_INSTALL"] + "?", [this] {
                       Action confirm =
                           guard("Window::OnDeleteConfirm", [this] { OnDeleteConfirm(false); });
                       AppendListener(EVENT_MODAL_FORM_CLOSED,
                                      new Handler(
                                          logger, [confirm](Event*) { confirm(); }, true));
                     });
}

void Window::OnDeleteConfirm(bool continueWithChanges) {
  if (continueWithChanges) {
    logger->Write("Window::OnDeleteConfirm Continue with changes.");
  } else if (settings->IsModified()) {
    logger->Write("Window::OnDeleteConfirm Settings was changed.");
    showDeleteQuestion("DeleteSettingsChangedConfirmForm", resources->texts["CONFIG"],
                       resources->texts["CHANGED_CONFIG_SKIP"], [this] { OnDeleteConfirm(true); });
    return;
  }
  logger->Write("Window::OnDeleteConfirm Start deleting.");
  endWith(WindowAction::DELETE, "interface delete");
}

void Window::OnIgnoreCertsChanged(bool ignore) {
  choices.ignoreCerts = ignore;
  logger->Write(ignore ? "Window::OnIgnoreCertsChanged ignore certs."
                       : "Window::OnIgnoreCertsChanged check certs.");
}

void Window::OnMigrate(std::string path, bool deleteAfter) {
  logger->Write("Window::OnMigrate Start migrating.");
  logger->Write(path);
  choices.migratePath = std::move(path);
  choices.migrateDelete = deleteAfter;
  endWith(WindowAction::MIGRATE, "interface migrate");
}

void Window::OnOpenDockerCESettings() {
  showModalForm(new DockerCEForm(logger, resources, settings, this));
}

void Window::OnOpenWebServerTolmSettings() {
  showModalForm(new WebServerTolmForm(logger, resources, settings, this));
}

void Window::OnOpenPatchSettings() {
  showModalForm(new PatchForm(logger, resources, settings, this));
}

void Window::OnOpenInstallSettings() {
  showModalForm(new InstallForm(logger, resources, settings, this));
}

void Window::OnOpenAdditions() {
  showModalForm(new AdditionsForm(
      logger, resources, settings, this, choices.ignoreCerts,
      [this](bool ignore) { OnIgnoreCertsChanged(ignore); }, [this] { OnDelete(); },
      [this](std::string path, bool deleteAfter) { OnMigrate(std::move(path), deleteAfter); }));
}

void Window::showAlert(const std::string& name, const std::string& title,
                       const std::string& message) {
  showModalForm(new AlertForm(logger, resources, settings, this, name, title, message, nullptr));
}

void Window::showPortInvalid() {
  showAlert("PortAlertForm", resources->texts["WARNING"], resources->texts["PORT_INVALID"]);
}

// A question about deleting (or overwriting) opens with NO focused, so that Enter alone deletes
// nothing.
void Window::showDeleteQuestion(const std::string& name, const std::string& title,
                                const std::string& message, Action onConfirm) {
  auto* form = new ConfirmForm(logger, resources, settings, this, name, title, message,
                               std::move(onConfirm), nullptr);
  showModalForm(form);
  form->GetCancelButton()->Focus();
}
