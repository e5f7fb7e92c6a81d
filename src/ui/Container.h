#pragma once

#include <string>
#include <vector>

#include "events/Observer.h"
#include "ui/Size.h"

// The root that owns the top-level controls and the events; forms report to it when one of
// their buttons has finished. The main window derives from it.
class Container : public Observer {
 public:
  Container(Logger* logger, std::string name, const std::vector<std::string>& events)
      : Observer(logger, std::move(name), events) {}
  ~Container() override = default;

  // The size of the screen the container covers.
  virtual Size GetSize();
  // Asks the container to destroy the modal form whose button has finished.
  virtual void ChildDestroyHandler();
  // Takes the failure of operation that a form's button contained. False when the container
  // does not take failures (the default): the form then passes the failure on.
  virtual bool ReportFailure(const std::string& operation, const std::string& message);
};
