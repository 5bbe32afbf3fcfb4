#include "log/message.h"

#include <string>
#include <utility>
#include <vector>

#include "allegro_fixture.h"

class messageLogTest : public allegroTest {
 protected:
  using row = std::pair<std::string, int>;  // text and colour; an empty text is a gap

  // Draws the log into a cleared back buffer, which must then hold exactly the rows drawn by the
  // library at the log's x and y + i * 10 (the built-in 8x8 font plus two pixels).
  void expectDrawn(const messageClass &log, int y, const std::vector<row> &rows) {
    clear_bitmap(global::dbuffer);
    log.draw(y);
    clear_bitmap(expected);
    for (std::size_t i = 0; i < rows.size(); ++i)
      textout_ex(expected, font, rows[i].first.c_str(), log.x, y + static_cast<int>(i) * 10, rows[i].second, -1);
    EXPECT_TRUE(showsExpected());
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
}

TEST_F(messageLogTest, linesKeepTheirColourAndTheOldestScrollOut) {
  messageClass log(12, 12, 20, global::dbuffer);
  log.sendText("lost");
  log.send("5 life", 777);  // one line from both pieces, in the colour given to send
  log.output();             // a blank line in colour 0
  EXPECT_EQ(log.lines[1].text, " lost 5 life");
  EXPECT_EQ(log.lines[1].color, 777);
  EXPECT_EQ(log.lines[0].text, "");
  EXPECT_EQ(log.lines[0].color, 0);
  EXPECT_EQ(log.count, 2);

  for (int i = 0; i < 15; ++i) log.send("L" + std::to_string(i), 100 + i);
  EXPECT_EQ(log.count, 12);
  std::vector<row> rows;  // the twelve newest, newest on top
  for (int i = 14; i > 2; --i) rows.emplace_back(" L" + std::to_string(i), 100 + i);
  expectDrawn(log, 262, rows);
}

TEST_F(messageLogTest, drawsTheNewestVisibleRowsDownward) {
  const int red = makecol(255, 0, 0), green = makecol(0, 255, 0), blue = makecol(0, 0, 255);
  messageClass fresh(12, 12, 20, global::dbuffer);
  EXPECT_EQ(fresh.lineHeight, 10);
  expectDrawn(fresh, 262, {});

  messageClass log(6, 3, 37, global::dbuffer);
  log.send("oldest", blue);
  log.send("Player 1 casts", green);
  log.output();  // a gap between the rows, the older ones shift down
  log.send("newest", red);
  expectDrawn(log, 100, {{" newest", red}, {"", 0}, {" Player 1 casts", green}});
  log.visible = 12;  // more rows than lines: only the lines there are
  expectDrawn(log, 5, {{" newest", red}, {"", 0}, {" Player 1 casts", green}, {" oldest", blue}});
  log.visible = 0;
  expectDrawn(log, 100, {});
}
