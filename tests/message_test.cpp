#include "log/message.h"

#include "allegro_fixture.h"

using messageLogTest = allegroTest;

TEST_F(messageLogTest, theNewestVisibleLinesAreDrawnDownwardInTheirColoursFromPiecesJoinedBySpaces) {
  messageClass log(5, 3, 37, global::dbuffer);
  log.send("oldest", 0x001F);
  log.sendText("Player 1");
  log.send("casts", 0x07E0);  // one line of both pieces, in the colour given to send
  log.output();               // a blank line in colour 0
  log.send("newest", 0xF800);
  log.draw(100);
  EXPECT_TRUE(textAt(" newest", 37, 100, 0xF800) && textAt(" Player 1 casts", 37, 120, 0x07E0));
  EXPECT_EQ(count(0, 0, 639, 99, 0) + count(0, 110, 639, 119, 0) + count(0, 130, 639, 479, 0), 640 * 460)
      << "three rows, the second blank";
  EXPECT_EQ(log.lines[1].color, 0);
  log.visible = 12;  // more rows than lines: only the lines there are
  log.draw(0);
  EXPECT_TRUE(textAt(" oldest", 37, 30, 0x001F));
  for (const char *text : {"a", "b"}) log.send(text, 1);  // a full log drops its oldest line
  EXPECT_EQ(std::pair(log.count, log.lines[4].text), std::pair(5, std::string(" Player 1 casts")));
  // Pieces join with single spaces.
  EXPECT_EQ((log.sendText("a "), log.sendText("b"), log.send("c", 0), log.lines[0].text), " a b c");
  EXPECT_EQ((log.sendInt(-7), log.sendInt(0), log.send(" x", 0), log.lines[0].text), " -7 0  x");
}
