// Running commands: a key as its click or keyboard key does, a command as
// its menu item does, a typed character, and a batch-mode name.
#pragma once

#include <functional>
#include <string>

#include "core/commands/registry.h"

namespace tallix {

// Runs a command as its menu item (or its key with the matching Shift
// state) does, as one undo step (Undo and Redo excepted). Window commands
// are the window's own and do nothing here.
void RunCommand(Calculator& calc, Cmd cmd);

// Runs a keypad key as a click or its keyboard key would: with `shifted`,
// the Shift state decided when the key went down, or else the Shift
// state as it stands. Returns false when nothing ran (a disabled key, or a
// digit the base refuses): such a key is not flashed.
bool PressKey(Calculator& calc, Key key, bool shifted);
inline bool PressKey(Calculator& calc, Key key) { return PressKey(calc, key, calc.ShiftDown()); }

// A typed character: presses the key it stands for, when the base enables
// that key, with `shifted` as its Shift state; any other character ends the
// Shift state. `press` runs the key instead of PressKey (the window shows
// the key pressed and flashes it). Returns the key pressed.
Key TypeChar(Calculator& calc, char32_t ch, bool shifted,
             const std::function<void(Key)>& press = {});
inline Key TypeChar(Calculator& calc, char32_t ch) { return TypeChar(calc, ch, calc.ShiftDown()); }

// Ends the Shift state, as every command and typed character does.
void EndShift(Calculator& calc);

// Whether a command runs in a base: one carried by a key only where the
// base enables that key (NEG, FIX and the digits' commands in DEC...).
bool CommandEnabled(Base base, const CommandDef& def);

// Runs a command by its row as batch mode does, where it is enabled in the
// current base; elsewhere it does nothing, as its key does.
void RunAsNamed(Calculator& calc, const CommandDef& def);

// The Edit menu's Undo or Redo item as it reads now: its caption and the
// name of the step it would play ("&Undo +", "&Redo Clear"), or the bare
// caption when there is nothing to do.
std::string HistoryItemText(const Calculator& calc, Cmd cmd);

// Whether a radio menu item (an angle unit, a base) is the current one.
bool IsCurrentMode(const Calculator& calc, Cmd cmd);

} // namespace tallix
