#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/Area.h"
#include "ui/Position.h"
#include "ui/Size.h"

class Logger;
class Mouse;
class Control;

using ControlList = std::vector<Control*>;

// The base of every widget: identity, placement relative to the parent's inner area, the parent
// link, and the toolkit-wide focus (the active control) and blink state.
//
// Blinking is driven by the input loop: it calls BlinkTick() on every pass and after a read
// time-out; BlinkTimeout() tells how long the loop may wait for a key meanwhile.
class Control {
 public:
  // Milliseconds of a monotonic clock.
  using BlinkClock = long long (*)();

  // Takes ownership of position and size; a null position stands for (0, 0), a null size is
  // computed with CalculateSize on first need.
  Control(Logger* logger, std::string type, std::string name, Position* position, Size* size,
          bool focusable);
  // Draws the current blink phase.
  virtual void blinking();
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  virtual int GetItemsCount();
  virtual Control* GetItem(int index);
  virtual Control* GetItem(const std::string& name);
  // Takes ownership of item when it is added (the result is its index, -1 when refused).
  virtual int AddItem(Control* item);
  virtual void RemoveItem(int index);
  virtual void RemoveItem(const std::string& name);
  // Destroys item when this control holds it.
  virtual void RemoveItem(Control* item);
  virtual Size CalculateSize();
  virtual bool Focusable();
  virtual void Focus();
  virtual void Blur();
  virtual Area GetInnerArea(bool global);
  virtual void Render();
  virtual bool OnKeyPress(int key);
  virtual bool OnMouseClick(Mouse* mouse);

  std::string GetName() const { return name; }
  std::string GetType() const { return type; }
  // A new copy owned by the caller.
  Position* GetPosition() const { return new Position(*position); }
  Control* GetParent() const { return parent; }
  // True when a size is present: given at construction or computed and kept by GetPrintArea.
  bool HasSize() const { return size != nullptr; }
  bool IsActive() const { return active == this; }
  bool IsModal() const { return modal; }
  bool IsRendered() const { return rendered; }
  int GetBlinkPhase() const { return blinkPhase; }
  Size GetSize() const;
  // True when ancestor is the parent of this control or one of the parent's ancestors.
  bool IsInside(const Control* ancestor) const;
  void PushTo(Control* parent);
  Area GetPrintArea();
  bool BelongsPosition(const Position* point);

  static Control* GetActive() { return active; }
  static bool SwitchActive(bool backward);
  static ControlList GetActiveModalTreeList();
  static Size CalculateEnumSize(const ControlList& controls);
  static void GlobalizeArea(Area* area, Control* from);
  static void printContentInArea(Area* area, const std::string& text);

  void Blink();
  void blinkPhaseNext();
  // Advances the blinking control when its second has passed.
  static void BlinkTick();
  // Advances the blinking control by one phase on SIGALRM; ignores any other signal. Not
  // installed as a signal handler: drawing from signal context is unsafe, so the input loop
  // drives blinking through BlinkTick instead.
  static void blinkHandler(int signal);
  // Milliseconds until the next blink step is due (0 when overdue), -1 when nothing blinks.
  static int BlinkTimeout();
  // A null clock restores the system's monotonic clock.
  static void SetBlinkClock(BlinkClock clock);

 protected:
  // Runs action; a failure is written to the log as operation + " exception:" and the message,
  // and goes no further. Returns whether the action completed.
  bool contain(const std::string& operation, const std::function<void()>& action);
  void log(const std::string& message) const;
  // The inner area in screen coordinates, cut to what is visible of this control.
  Area visibleInnerArea();
  std::string describe() const { return "Control " + name + " of type " + type; }

  Logger* logger;
  std::string type;
  std::string name;
  std::unique_ptr<Position> position;
  std::unique_ptr<Size> size;
  bool rendered = false;
  bool focusable;
  Control* parent = nullptr;
  bool modal = false;
  int blinkPhase = 0;

  static Control* active;
  static Control* blinkItem;

 private:
  bool isWithinModalTree(const ControlList& tree) const;
  static bool walkSiblings(Control* parent, int index, bool backward);
  void takeBlink();
  void drawBlink();
  static long long now();

  static BlinkClock clock;
  static long long blinkDue;
};
