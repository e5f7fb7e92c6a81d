#pragma once

// The names of the events fired in the program, each defined once.

// Fired by the main window after a modal form has gone and the screen has been redrawn.
inline constexpr const char* EVENT_MODAL_FORM_CLOSED = "modalFormClosed";
