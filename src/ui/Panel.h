#pragma once

#include <memory>
#include <string>

#include "ui/Control.h"

// A framed box with a title on its top border that holds child controls inside the frame. A
// modal panel keeps the focus inside itself and blinks when the user clicks outside it.
class Panel : public Control {
 public:
  static constexpr const char* TYPE = "Panel";

  // Takes ownership of position, size and every control in items (the list itself is copied;
  // null gives an empty panel). A null size is computed from the content.
  Panel(Logger* logger, std::string name, Position* position, Size* size, std::string title,
        const ControlList* items);
  ~Panel() override;

  // The size a panel with this title and these children takes.
  static Size CalculateSizeForContent(const std::string& title, const ControlList* items);
  void SetModalMode(bool modal) { this->modal = modal; }

  int GetItemsCount() override { return static_cast<int>(items.size()); }
  // Throws "OutOfRangeException" for an index outside the items.
  Control* GetItem(int index) override;
  Control* GetItem(const std::string& name) override;
  int AddItem(Control* item) override;
  using Control::RemoveItem;
  void RemoveItem(Control* item) override;

  Size CalculateSize() override;
  bool Focusable() override;
  void Focus() override;
  Area GetInnerArea(bool global) override;
  void Render() override;
  bool OnMouseClick(Mouse* mouse) override;
  void blinking() override;
  // Clears the inside of the frame and draws every item again.
  void Refresh();

 private:
  bool drawable(const Area& print);
  void drawBorders();
  void drawFrame(const Area& print);
  void drawTitle(const Area& print);
  void drawVerticalBar(const Area& print);
  void drawHorizontalBar(const Area& print);
  void clearContainer();
  bool routeClick();
  bool holdsActive() const;

  std::unique_ptr<Position> innerPosition;
  std::unique_ptr<Size> innerSize;
  std::string title;
  ControlList items;
  Mouse* pendingMouse = nullptr;
};
