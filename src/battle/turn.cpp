#include <algorithm>

#include "battle/battle.h"
#include "combatants/ai.h"
#include "frame/changedframe.h"
#include "frame/devices.h"
#include "frame/display.h"
#include "frame/global.h"
#include "frame/idle.h"
#include "frame/keystates.h"

namespace {

// Instead of the library's yield, which wakes a hundred times a second, the dialog waits for the
// next tick or key as the screens do. The window's close button closes it.
int waitProc(int msg, DIALOG *, int) {
  if (msg != MSG_IDLE) return D_O_K;
  devices::poll();
  if (display::closeRequested()) {
    display::leaving = true;
    return D_CLOSE;
  }
  global::idle();
  return D_O_K;
}

// Runs a dialog on the back buffer rather than on the screen, so that show() enlarges it as it
// does every frame, and puts back what was under it. Gives the index of the object that closed
// it, or -1 for Esc.
int runOnBackBuffer(DIALOG *dialog, int focus) {
  BITMAP *under = create_bitmap(global::dbuffer->w, global::dbuffer->h);
  if (under) blit(global::dbuffer, under, 0, 0, 0, 0, under->w, under->h);
  gui_set_screen(global::dbuffer);
  clear_keybuf();  // as alert does: a key typed before the question must not answer it
  int closedBy;
  {
    changedFrame frame;  // the dialog redraws only when a key changes it
    DIALOG_PLAYER *player = init_dialog(dialog, focus);
    while (update_dialog(player)) frame.show();
    closedBy = shutdown_dialog(player);
  }
  gui_set_screen(nullptr);
  if (under) {
    blit(under, global::dbuffer, 0, 0, 0, 0, under->w, under->h);
    destroy_bitmap(under);
  }
  show();
  return closedBy;
}

// The library's alert box for this question, laid out the same, with the same keys (67 and 59 are
// its shortcut characters, C and ';') and answers: 1 for Yes, which has the focus, and which the
// window's close button gives too; 2 for No, which Esc also gives.
int confirmQuit() {
  char question[] = "Are you sure that you want to return to the main menu?", yes[] = "Yes", no[] = "No";
  DIALOG box[] = {{d_shadow_box_proc, 88, 208, 464, 64, 0, 0, 0, 0, 0, 0, nullptr, nullptr, nullptr},
                  {d_ctext_proc, 96, 216, 448, 8, 0, 0, 0, 0, 0, 0, question, nullptr, nullptr},
                  {d_button_proc, 264, 248, 48, 16, 0, 0, 67, D_EXIT, 0, 0, yes, nullptr, nullptr},
                  {d_button_proc, 328, 248, 48, 16, 0, 0, 59, D_EXIT, 0, 0, no, nullptr, nullptr},
                  {waitProc, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, nullptr, nullptr, nullptr},
                  {nullptr, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, nullptr, nullptr, nullptr}};
  set_dialog_color(box, gui_fg_color, gui_bg_color);
  constexpr int YES = 2;  // the index of its button
  return runOnBackBuffer(box, YES) == YES || display::leaving ? 1 : 2;
}

// Backspace, or the pad's B or the right mouse button.
bool backPressed() {
  const bool backspace = keyStates[KEY_BACKSPACE];
  return keyStates.took(keyStatesClass::back) || backspace;
}

void chooseSpellStep(battleState &b) {
  fightUnit &p = b.fighters[0];
  if (keyStates[KEY_UP]) b.selectedKind = (b.selectedKind + 3) % 4;
  if (keyStates[KEY_DOWN]) b.selectedKind = (b.selectedKind + 1) % 4;
  // The pointer moved onto a spell's button moves the cursor there; a click chooses it.
  const int pointed = keyStates.pointedArea(SPELL_BUTTONS, 4);
  if (pointed >= 0) b.selectedKind = pointed;
  const int clicked = keyStates.clickedArea(SPELL_BUTTONS, 4);
  if (clicked >= 0) b.selectedKind = clicked;
  if (keyStates[KEY_ENTER] || clicked >= 0 || p.mana == 0) {
    b.phase = chooseMana;
    b.chosenMana = 0;
  }
  // The key is tested even with nothing queued, so such a press is spent instead of acting later.
  if (backPressed() && b.queuedCount > 0) {
    --b.queuedCount;
    p.spellKind[b.queuedCount] = kindEmpty;
    p.mana += p.spellMana[b.queuedCount];
  }
}

void queueSpell(battleState &b) {
  fightUnit &p = b.fighters[0];
  // A heal turns half its mana into life, so it is queued even; an odd unit would be wasted.
  if (b.selectedKind == kindHeal) {
    b.chosenMana -= b.chosenMana % 2;
    if (b.chosenMana == 0) b.chosenMana = p.mana > 1 ? 2 : 1;
  }
  p.spellKind[b.queuedCount] = b.selectedKind;
  p.spellMana[b.queuedCount] = b.chosenMana;
  ++b.queuedCount;
  p.mana -= b.chosenMana;
  b.phase = b.queuedCount == 3 || p.mana == 0 ? opponentPlans : chooseSpell;
}

void chooseManaStep(battleState &b) {
  fightUnit &p = b.fighters[0];
  const int special = manaSpecial[b.units[0].getType()];
  // A click on the mana box's arrows steps the amount; one on the amount or the chosen spell's
  // button queues it.
  enum { LESS, MORE, AMOUNT, CHOSEN };
  const area targets[4] = {{300, 222, 329, 249}, {370, 222, 399, 249}, {330, 222, 369, 249}, SPELL_BUTTONS[b.selectedKind]};
  const int clicked = keyStates.clickedArea(targets, 4);
  if (p.mana == 0) {
    b.phase = opponentPlans;
  } else if (b.selectedKind == kindSpecial && p.mana < special) {
    b.phase = chooseSpell;
  } else if (keyStates[KEY_ENTER] || clicked == AMOUNT || clicked == CHOSEN) {
    queueSpell(b);
  } else if (backPressed()) {
    b.phase = chooseSpell;
  } else {
    // Held Up and Down run the amount once per tick; Right and Left, the arrows and the wheel's
    // notches step it once each.
    if (keyStates.held(KEY_UP)) ++b.chosenMana;
    if (keyStates.held(KEY_DOWN)) --b.chosenMana;
    if (keyStates[KEY_RIGHT]) ++b.chosenMana;
    if (keyStates[KEY_LEFT]) --b.chosenMana;
    if (clicked == MORE) ++b.chosenMana;
    if (clicked == LESS) --b.chosenMana;
    b.chosenMana += keyStates.takeWheel();
    if (b.selectedKind == kindSpecial) {
      b.chosenMana = special;
    } else {
      b.chosenMana = std::max(std::min({b.chosenMana, 20, p.mana}), 1);
    }
  }
}

void resolveSlotsStep(battleState &b) {
  if (--b.slotTimer > 0) return;
  resolveSlot(b);
  b.fighters[0].spellKind[b.slot] = kindEmpty;
  if (b.phase != resolveSlots) return;  // a side has fallen
  if (b.slot == 2 ||
      (b.fighters[0].spellKind[b.slot + 1] == kindEmpty && b.fighters[1].spellKind[b.slot + 1] == kindEmpty)) {
    b.phase = newTurn;
  } else {
    ++b.slot;
  }
}

void opponentPlansStep(battleState &b) {
  b.phase = resolveSlots;
  doAI(b.fighters[1], b.units[1].getType());
  for (int s = 0; s < 2; ++s) b.halveEnemySpells[s] = b.invertEnemySpells[s] = false;
  b.slotTimer = 64;
  b.slot = 0;
  resolveSlotsStep(b);
}

void newTurnStep(battleState &b) {
  fightUnit &p = b.fighters[0];
  b.queuedCount = 0;
  b.selectedKind = 0;
  for (int &k : p.spellKind) k = kindEmpty;
  p.mana = 20;
  b.phase = chooseSpell;
}

void closingPauseStep(battleState &b) {
  if (--b.slotTimer == 0) b.running = false;
}

// Eight blank lines, then the outcome alone on top of the log for the closing pause.
void announce(battleState &b, const char *text, int side, int pause) {
  for (int i = 0; i < 8; ++i) b.log.output();
  b.log.send(text, b.sideColour[side]);
  b.slotTimer = 64;
  b.phase = pause;
  closingPauseStep(b);
}

void phaseStep(battleState &b) {
  switch (b.phase) {
    case chooseSpell:
      chooseSpellStep(b);
      break;
    case chooseMana:
      chooseManaStep(b);
      break;
    case opponentPlans:
      opponentPlansStep(b);
      break;
    case resolveSlots:
      resolveSlotsStep(b);
      break;
    case newTurn:
      newTurnStep(b);
      break;
    case opponentDefeated:
      announce(b, "You have won!", 0, victoryPause);
      break;
    case playerDefeated:
      announce(b, "You have lost.", 1, defeatPause);
      break;
    case victoryPause:
    case defeatPause:
      closingPauseStep(b);
      break;
  }
}

}  // namespace

int (*askQuit)() = confirmQuit;

bool playerQuits(bool closeButton) {
  if (askQuit() == 1) {
    if (closeButton) display::leaving = true;
    return true;
  }
  // Keys still held from the dialog are no new presses, and the ticks it swallowed are dropped.
  keyStates.anyKey();
  timerCounter = 0;
  return false;
}

battleState::battleState(unit *units)
    : units(units), title(units[0].getName() + " versus " + units[1].getName()), log(12, 12, 20, global::dbuffer) {
  sideColour[0] = makecol(204, 0, 0);
  sideColour[1] = makecol(0, 0, 204);
  typeColour[Spring] = makecol(0, 255, 0);
  typeColour[Summer] = makecol(255, 0, 0);
  typeColour[Fall] = makecol(107, 82, 14);
  typeColour[Winter] = makecol(0, 0, 255);
  log.send("Beginning next match, " + title, 0);
}

void battleTick(battleState &b) {
  phaseStep(b);
  const bool closeButton = display::closeRequested();
  if ((keyStates[KEY_ESC] || closeButton) && playerQuits(closeButton)) {
    b.running = false;
    b.result = -1;
  }
}
