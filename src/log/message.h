#pragma once

#include <allegro.h>

#include <string>

// One line of the log.
class message {
 public:
  std::string text;
  int color = 0;

  void setColor(int c) { color = c; }
  void erase() { text.clear(); }
  void draw(int x, int y, BITMAP *bmp) const;
};

// The battle's scrolling log: newest line on top, the oldest drops out at the bottom.
class messageClass {
 public:
  message pending;
  message *lines;
  BITMAP *target;
  int capacity;
  int count;
  int lineHeight;
  int x;
  int visible;

  messageClass(int capacity, int visible, int x, BITMAP *target);
  ~messageClass();
  messageClass(const messageClass &) = delete;
  messageClass &operator=(const messageClass &) = delete;

  void sendText(std::string piece);
  void sendInt(int number);
  void output();
  void send(std::string text, int color);
  void draw(int y) const;

 private:
  void separate();
};
