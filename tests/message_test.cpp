#include "log/message.h"

#include "allegro_fixture.h"

using messageLogTest = allegroTest;

TEST_F(messageLogTest, theNewestVisibleLinesAreDrawnDownwardInTheirColoursFromPiecesJoinedBySpaces) {
  const int grey = 0x4208;  // under the log, so that its transparent background shows
  clear_to_color(global::dbuffer, grey);
  messageClass log(5, 3, 37, global::dbuffer);
  log.send("oldest", 0x001F);
  log.sendText("Player 1");
  log.send("casts", 0x07E0);  // one line of both pieces, in the colour given to send
  log.output();               // a blank line
  log.send("newest", 0xF800);
  log.draw(100);
  EXPECT_TRUE(textAt(" newest", 37, 100, 0xF800));
  EXPECT_TRUE(textAt(" Player 1 casts", 37, 120, 0x07E0));
  EXPECT_EQ(count(0, 110, 639, 119, grey), 640 * 10) << "the blank line's row";
  EXPECT_EQ(count(0, 130, 639, 479, grey), 640 * 350) << "three rows visible";
  log.visible = 12;  // more rows than lines: only the lines there are
  log.draw(0);
  EXPECT_TRUE(textAt(" oldest", 37, 30, 0x001F));
  log.send("a", 1);  // a full log drops its oldest line
  log.send("b", 1);
  EXPECT_EQ(log.count, 5);
  EXPECT_EQ(log.lines[4].text, " Player 1 casts");
  // Pieces join with single spaces, numbers too; a piece's own leading space stays.
  log.sendText("a ");
  log.sendText("b");
  log.sendInt(-7);
  log.sendInt(0);
  log.send(" x", 0);
  EXPECT_EQ(log.lines[0].text, " a b -7 0  x");
}
