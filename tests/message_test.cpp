#include "log/message.h"

#include <string>
#include <utility>
#include <vector>

#include "allegro_fixture.h"

namespace {
using row = std::pair<std::string, int>;  // text and colour; an empty text is a gap

// The frame the log must leave: each row drawn by the library at the log's x and y + i * 10
// (the built-in 8x8 font plus two pixels), over a black bitmap.
BITMAP *expectedFrame(const std::vector<row> &rows, int x, int y) {
  BITMAP *frame = create_bitmap(640, 480);
  clear_bitmap(frame);
  for (std::size_t i = 0; i < rows.size(); ++i)
    textout_ex(frame, font, rows[i].first.c_str(), x, y + static_cast<int>(i) * 10, rows[i].second, -1);
  return frame;
}

int differingPixels(BITMAP *a, BITMAP *b) {
  int differing = 0;
  for (int y = 0; y < a->h; ++y)
    for (int x = 0; x < a->w; ++x) differing += getpixel(a, x, y) != getpixel(b, x, y);
  return differing;
}

int litPixels(BITMAP *bmp) {
  int lit = 0;
  for (int y = 0; y < bmp->h; ++y)
    for (int x = 0; x < bmp->w; ++x) lit += getpixel(bmp, x, y) != 0;
  return lit;
}
}  // namespace

class messageLogTest : public allegroTest {
 protected:
  // Draws the log into a cleared back buffer and compares it with the rows it should show.
  void expectDrawn(const messageClass &log, int y, const std::vector<row> &rows) {
    clear_bitmap(global::dbuffer);
    log.draw(y);
    BITMAP *expected = expectedFrame(rows, log.x, y);
    EXPECT_EQ(differingPixels(global::dbuffer, expected), 0);
    destroy_bitmap(expected);
  }
};

TEST_F(messageLogTest, piecesJoinWithSingleSpaces) {
  messageClass log(4, 4, 0, global::dbuffer);
  const auto pushed = [&log] {
    log.output();
    EXPECT_TRUE(log.pending.text.empty());
    return log.lines[0].text;
  };
  log.sendText("a");
  log.sendText("b");
  EXPECT_EQ(pushed(), " a b");
  log.sendText("a ");
  log.sendText("b");
  EXPECT_EQ(pushed(), " a b");
  log.sendText("Player ");
  log.sendInt(2);
  EXPECT_EQ(pushed(), " Player 2");
  log.sendInt(-7);
  EXPECT_EQ(pushed(), " -7");
  log.sendInt(0);
  log.sendInt(1234567);
  EXPECT_EQ(pushed(), " 0 1234567");
  log.sendText(" x");  // no trimming: a leading space of its own makes two
  EXPECT_EQ(pushed(), "  x");
  log.send("You have won!", 5);
  EXPECT_EQ(log.lines[0].text, " You have won!");
  EXPECT_TRUE(log.pending.text.empty());
}

TEST_F(messageLogTest, linesCarryTheColourTheyWereSentIn) {
  messageClass log(4, 4, 0, global::dbuffer);
  log.send("first", 1234);
  log.sendText("lost");
  log.send("5 life", 777);
  log.output();
  EXPECT_EQ(log.count, 3);
  EXPECT_EQ(log.lines[0].text, "");
  EXPECT_EQ(log.lines[0].color, 0);
  EXPECT_EQ(log.lines[1].text, " lost 5 life");
  EXPECT_EQ(log.lines[1].color, 777);
  EXPECT_EQ(log.lines[2].text, " first");
  EXPECT_EQ(log.lines[2].color, 1234);
  EXPECT_EQ(log.pending.color, 0);
}

TEST_F(messageLogTest, oldestLinesScrollOutPastCapacity) {
  messageClass log(12, 12, 20, global::dbuffer);
  for (int i = 0; i < 15; ++i) log.send("L" + std::to_string(i), 100 + i);
  EXPECT_EQ(log.count, 12);
  for (int i = 0; i < 12; ++i) {
    EXPECT_EQ(log.lines[i].text, " L" + std::to_string(14 - i));
    EXPECT_EQ(log.lines[i].color, 114 - i);
  }
  std::vector<row> rows;
  for (int i = 0; i < 12; ++i) rows.emplace_back(" L" + std::to_string(14 - i), 114 - i);
  expectDrawn(log, 262, rows);
}

TEST_F(messageLogTest, drawsTheNewestVisibleRowsDownward) {
  const int red = makecol(255, 0, 0), green = makecol(0, 255, 0), blue = makecol(0, 0, 255);
  messageClass fresh(12, 12, 20, global::dbuffer);
  EXPECT_EQ(fresh.lineHeight, 10);
  expectDrawn(fresh, 262, {});
  EXPECT_EQ(litPixels(global::dbuffer), 0);

  messageClass log(6, 3, 37, global::dbuffer);
  log.send("oldest", blue);
  log.send("Player 1 casts", green);
  log.output();  // a gap between the rows, the older ones shift down
  log.send("newest", red);
  expectDrawn(log, 100, {{" newest", red}, {"", 0}, {" Player 1 casts", green}});
  EXPECT_GT(litPixels(global::dbuffer), 0);

  log.visible = 12;  // more rows than lines: only the lines there are
  expectDrawn(log, 5, {{" newest", red}, {"", 0}, {" Player 1 casts", green}, {" oldest", blue}});

  log.visible = 0;
  expectDrawn(log, 100, {});
}
