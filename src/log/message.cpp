#include "log/message.h"

void message::draw(int x, int y, BITMAP *bmp) const {
  if (!text.empty()) textout_ex(bmp, font, text.c_str(), x, y, color, -1);
}

messageClass::messageClass(int capacity, int visible, int x, BITMAP *target)
    : lines(capacity > 0 ? new message[capacity] : nullptr),
      target(target),
      capacity(capacity),
      count(0),
      lineHeight(text_height(font) + 2),
      x(x),
      visible(visible) {}

messageClass::~messageClass() { delete[] lines; }

// Pieces are joined by single spaces, and every line starts with one.
void messageClass::separate() {
  if (pending.text.empty() || pending.text.back() != ' ') pending.text += ' ';
}

void messageClass::sendText(std::string piece) {
  separate();
  pending.text += piece;
}

void messageClass::sendInt(int number) {
  separate();
  pending.text += std::to_string(number);
}

void messageClass::output() {
  if (count < capacity) ++count;
  for (int i = capacity - 1; i > 0; --i) lines[i] = lines[i - 1];
  lines[0] = pending;
  pending.erase();
}

void messageClass::send(std::string text, int color) {
  sendText(std::move(text));
  output();
  lines[0].setColor(color);
}

void messageClass::draw(int y) const {
  const int n = count < visible ? count : visible;
  for (int i = 0; i < n; ++i) lines[i].draw(x, y + i * lineHeight, target);
}
