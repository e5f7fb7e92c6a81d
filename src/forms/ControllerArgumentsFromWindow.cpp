// The controller arguments taken from the main window: defined with the window, so that the
// controllers need nothing of the interface.
#include "controllers/ControllerArguments.h"
#include "forms/Window.h"

ControllerArguments::ControllerArguments(Logger* logger, Resources* resources, Settings* settings,
                                         Window* window)
    : ControllerArguments(logger, resources, settings, window->Choices()) {}
