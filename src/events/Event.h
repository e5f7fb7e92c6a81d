#pragma once

// One occurrence of a named event, handed to every handler of a dispatch until one prevents it.
class Event {
 public:
  Event() = default;
  virtual ~Event() = default;

  bool Alive() const { return !prevented; }
  // Later handlers of the current dispatch are skipped.
  void Prevent() { prevented = true; }

 private:
  bool prevented = false;
};
