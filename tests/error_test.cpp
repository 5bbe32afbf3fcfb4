#include "frame/error.h"

#include "file_fixture.h"

using errorTest = allegroTest;

// The whole of the child's output must be the text: the anchors leave no room for a prefix.
#define EXPECT_REPORT(call, text) EXPECT_EXIT((reportsToStderr(), call), ::testing::ExitedWithCode(1), "^" text "$")

TEST_F(errorTest, numberedReportsShowTheirTextAndEndWithFailure) {
  EXPECT_REPORT(error::timer(), "Error001: Timer could not be initialised");
  EXPECT_REPORT(error::keyboard(), "Error002: No keyboarddriver found");
  EXPECT_REPORT(error::soundDriver(), "Error003: Sound driver could not be initialised");
  EXPECT_REPORT(error::graphicMode(), "Error004: Graphic mode couldn't be set");
  EXPECT_REPORT(error::create(), "Error005: Creating bitmap failed");
}

TEST_F(errorTest, namesStandBetweenQuotesAndPercentSignsStayText) {
  EXPECT_REPORT(error::loadBit("fight.tga"), "Error006: Loading bitmap \"fight\\.tga\" failed");
  EXPECT_REPORT(error::loadBit("gfx/100%d.tga"), "Error006: Loading bitmap \"gfx/100%d\\.tga\" failed");
  EXPECT_REPORT(error::datafile("data.dat"), "Error007: Loading datafile \"data\\.dat\" failed");
  EXPECT_REPORT(error::sampleLoad("x%s.wav"), "Error008: Loading sample \"x%s\\.wav\" failed");
}

TEST_F(errorTest, fatalShowsTheCallersTextAlone) {
  EXPECT_REPORT(error::fatal("AI error: Invalid AI behaviour."), "AI error: Invalid AI behaviour\\.");
  EXPECT_REPORT(error::fatal("AI error: Invalid AI pattern."), "AI error: Invalid AI pattern\\.");
  EXPECT_REPORT(error::fatal("100% sure"), "100% sure");
}

TEST_F(errorTest, divisionReportReturnsToItsCaller) {
  // Exit code 3 can only come from the statement after the report.
  EXPECT_EXIT((reportsToStderr(), error::divBy0("battle"), std::exit(3)), ::testing::ExitedWithCode(3),
              "^Error009: A division by 0 error was prevented in the following modul:\nbattle$");
}
