// The paper tape: the lines the door's steps make, their undo marks, the
// text and the script, the file and its limit.
#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "core/commands/clipboard.h"
#include "core/commands/tokens.h"
#include "core/persist/stackfile.h"
#include "core/tape/tapefile.h"
#include "core/tape/tapeprint.h"
#include "print_rig.h"
#include "stackfile_fixture.h"
#include "test_calc.h"

using tallix::Cmd;
using tallix::tape::Kind;
using tallix::tape::Line;
using tallix::tape::Tape;
using tallix::testing::TestCalc;
using Strings = std::vector<std::string>;

namespace {

// A calculator with a tape listening to it.
struct Taped : TestCalc {
    Tape tape;
    explicit Taped(std::size_t maxLines = Tape::kMaxLines) : tape(maxLines) { tape.Attach(calc); }
    // Each line as "caption|shown", with "~" in front of an undone one.
    Strings Lines() const {
        Strings out;
        for (const Line& l : tape.Lines())
            out.push_back((l.undone ? "~" : "") + l.caption + "|" + l.shown);
        return out;
    }
    void Run(Cmd cmd) { tallix::RunCommand(calc, cmd); }
};

// Keys typed ("\r" Enter, "^" Shift), then the lines the tape shows.
struct TypedCase {
    const char* name;
    const char* keys;
    Strings lines;
};

const TypedCase kTyped[] = {
    {"numbers and a command", "1\r2+", {"|1", "|2", "+|3"}},
    {"a command enters the typed number first", "0.5S", {"|0.5", "SIN|0.479425538604203"}},
    {"Enter on an empty entry line duplicates", "7\r\r", {"|7", "ENTER|7"}},
    {"an error keeps the arguments and says why",
     "1\r0/",
     {"|1", "|0", "÷ Error: Infinite Result|"}},
    {"a failed entry is an error line", "1E99999\r", {"Entry Error: Invalid Syntax|"}},
    {"commands that change no value say what they did",
     "1\r2\r3 W^Z",
     {"|1", "|2", "|3", "SWAP|", "CLR 3 levels|"}},
    {"typing alone makes no line", "12", {}},
    {"Edit takes level 1, Enter gives it back", "5\r^\r\r", {"|5", "EDIT|", "|5"}},
};

TEST(TapeLines, EveryKindOfStepMakesItsLine) {
    for (const TypedCase& c : kTyped) {
        Taped t;
        t.Type(c.keys);
        EXPECT_EQ(t.Lines(), c.lines) << c.name;
    }
}

// A stop while the error box is open must not lose the error's line.
TEST(TapeLines, AnErrorIsOnTheTapeBeforeItsMessageShows) {
    Taped t;
    Strings whileShown;
    t.shell.onError = [&] { whileShown = t.Lines(); };
    t.Type("1\r0/");
    EXPECT_EQ(whileShown, (Strings{"|1", "|0", "÷ Error: Infinite Result|"}));
}

TEST(TapeLines, ModesShowTheirNamesAndNumbersTheirBase) {
    Taped t;
    t.Run(Cmd::Hex);
    t.Type("FF\r");
    t.Run(Cmd::Deg);
    EXPECT_EQ(t.Lines(), (Strings{"HEX|", "|FF", "DEG|"}));
    EXPECT_EQ(t.tape.At(1).value, "255"); // the exact stack text, for a push
}

TEST(TapeLines, UndoMarksRedoUnmarksAndANewStepDropsTheMarked) {
    Taped t;
    t.Type("2\r3*");
    ASSERT_TRUE(t.calc.Undo());
    EXPECT_EQ(t.Lines(), (Strings{"|2", "|3", "~×|6"}));
    ASSERT_TRUE(t.calc.Undo());
    EXPECT_EQ(t.Lines(), (Strings{"|2", "~|3", "~×|6"}));
    ASSERT_TRUE(t.calc.Redo());
    EXPECT_EQ(t.Lines(), (Strings{"|2", "|3", "~×|6"}));
    // An error is part of the present history: it stands before the marks.
    t.Run(Cmd::Fact);
    EXPECT_EQ(t.Lines(), (Strings{"|2", "|3", "!|6"}));
    ASSERT_TRUE(t.calc.Undo());
    t.Type("0/");
    EXPECT_EQ(t.Lines(), (Strings{"|2", "|3", "|0", "÷ Error: Infinite Result|"}));
}

TEST(TapeLines, AnErrorWhileStepsAreUndoneStandsBeforeThem) {
    Taped t;
    t.Type("4\r");
    t.Run(Cmd::Sqrt);
    ASSERT_TRUE(t.calc.Undo());
    t.Run(Cmd::Gcd); // too few arguments: no step, the undone one stays
    EXPECT_EQ(t.Lines(), (Strings{"|4", "GCD Error: Too Few Arguments|", "~SQRT|2"}));
    ASSERT_TRUE(t.calc.Redo());
    EXPECT_EQ(t.Lines(), (Strings{"|4", "GCD Error: Too Few Arguments|", "SQRT|2"}));
}

TEST(TapeLines, PasteAndOpenAreOneLineHoweverMany) {
    Taped t;
    std::string many;
    for (int i = 0; i < 100000; ++i) many += std::to_string(i) + "\n";
    ASSERT_TRUE(tallix::PasteText(t.calc, many));
    ASSERT_EQ(t.tape.Size(), 1u);
    EXPECT_EQ(t.Lines()[0], "PASTE 100000 numbers|99999");
    t.tape.NameNextOpen("a.Stk");
    t.calc.Apply(tallix::CommandLabel(Cmd::Open), [](tallix::Calculator::Change& c) {
        c.ReplaceStack({"3", "2", "1"});
    });
    EXPECT_EQ(t.Lines()[1], "OPEN a.Stk 3 entries|3");
}

TEST(TapeLines, SpokenLinesSayErrorAndUndone) {
    Line error{Kind::Error, false, false, "÷ Error: Infinite Result", "", "", "/"};
    Line undone{Kind::Command, true, true, "SIN", "0.5", "0.5", "SIN"};
    EXPECT_EQ(Tape::Spoken(error), "error: ÷ Error: Infinite Result");
    EXPECT_EQ(Tape::Spoken(undone), "SIN 0.5, undone");
}

TEST(TapeText, ValuesStandRightAlignedAfterTheCaption) {
    Taped t;
    t.Type("0.5S");
    ASSERT_TRUE(t.calc.Undo());
    EXPECT_EQ(t.tape.Text(), "                             0.5\n"
                             "SIN            0.479425538604203  (undone)\n");
    EXPECT_EQ(t.tape.TextOf({1}), "SIN            0.479425538604203  (undone)\n");
}

// ---- the script ----------------------------------------------------------------

// Runs a script on a calculator, line by line, as batch mode does.
void Replay(const std::string& script, tallix::Calculator& calc) {
    std::size_t i = 0;
    while (i < script.size()) {
        std::size_t end = script.find('\n', i);
        if (end == std::string::npos) end = script.size();
        tallix::tape::RunTokens(calc, std::string_view(script.data() + i, end - i));
        i = end + 1;
    }
}

// Opens a stack file's entries, as File > Open does.
void Open(TestCalc& t, Strings levelsTopFirst) {
    t.calc.Apply(tallix::CommandLabel(Cmd::Open),
                 [&](tallix::Calculator::Change& c) { c.ReplaceStack(levelsTopFirst); });
}

// A state the tape starts from, then what happens on the tape.
struct ScriptCase {
    const char* name;
    std::function<void(TestCalc&)> before, during;
};

const Strings kOddTexts = {
    "1.50", "DUP", "1 2", "#5", "abc", "", "1E4933", " 7", "-0", "a\"b\\c", "\x01\t\xC2\x85\xFF"};

const ScriptCase kScripts[] = {
    {"a stack and modes of its own",
     [](TestCalc& t) {
         t.Push({"1.5", "-2", "1E300"});
         tallix::testing::SetWordSize(t.calc, 8);
         tallix::RunCommand(t.calc, Cmd::Hex);
     },
     [](TestCalc& t) {
         t.Type("7F\r+");
         tallix::RunCommand(t.calc, Cmd::Random);
     }},
    {"texts no number entry gives back",
     [](TestCalc& t) { tallix::testing::PushTexts(t.calc, kOddTexts); },
     [](TestCalc& t) { t.Type("5\r"); }},
    {"an open of such texts keeps the last arguments", [](TestCalc& t) { t.Type("2\r3+"); },
     [](TestCalc& t) {
         Open(t, {"-0", "abc", "1.50"});
         tallix::RunCommand(t.calc, Cmd::Last);
     }},
    {"Last after Clear Tape", [](TestCalc& t) { t.Type("2\r3+"); },
     [](TestCalc& t) { tallix::RunCommand(t.calc, Cmd::Last); }},
    {"Last after an undo", [](TestCalc& t) { t.Type("2\r3+"); },
     [](TestCalc& t) {
         t.Type("4\r");
         t.calc.Undo();
         tallix::RunCommand(t.calc, Cmd::Last);
     }},
    {"last arguments to the bit",
     [](TestCalc& t) {
         tallix::testing::Arrange(
             t.calc, [](tallix::Calculator::Change& c) { c.SetLastArgs(1 / 3.0L, -0.0L, 2); });
     },
     [](TestCalc& t) { t.Type("0.12345678901234567891\r"); }},
    {"RAND after two arguments", [](TestCalc& t) { t.Type("2\r3+"); },
     [](TestCalc& t) { tallix::RunCommand(t.calc, Cmd::Random); }},
    {"Edit of a text, then of a number",
     [](TestCalc& t) {
         t.Push({"7", "1.50", "abc"});
     },
     [](TestCalc& t) {
         for (int i = 0; i < 2; ++i) {
             t.Type("^\r");
             tallix::testing::SetEntry(t.calc, "");
         }
     }},
};

// The script replays to the same stack and last arguments, to the bit.
TEST(TapeScript, ReplaysToTheSameStackAndLastArguments) {
    for (const ScriptCase& c : kScripts) {
        SCOPED_TRACE(c.name);
        TestCalc t;
        c.before(t);
        Tape tape;
        tape.Attach(t.calc);
        c.during(t);
        TestCalc fresh;
        Replay(tape.Script(), fresh.calc);
        EXPECT_EQ(fresh.Stack(), t.Stack()) << tape.Script();
        EXPECT_EQ(tallix::LastArgsToken(fresh.calc), tallix::LastArgsToken(t.calc))
            << tape.Script();
    }
}

// ---- the file --------------------------------------------------------------------

class TapeFile : public tallix::testing::StackFileIo {};

TEST_F(TapeFile, RoundTripKeepsMarksValuesAndOddTexts) {
    Taped u;
    u.Push({"a\tb\\c", "2"});
    tallix::testing::Arrange(
        u.calc, [](tallix::Calculator::Change& c) { c.SetLastArgs(1 / 3.0L, -0.0L, 2); });
    u.Type("1\r2+3*");
    ASSERT_TRUE(u.calc.Undo());
    tallix::tape::Start start;
    std::deque<Line> lines;
    std::string why;
    const std::string bytes = tallix::tape::Serialize(u.tape);
    ASSERT_TRUE(tallix::tape::Parse(bytes, start, lines, why)) << why;
    EXPECT_EQ(start, u.tape.StartState());
    EXPECT_EQ(start.stack, (Strings{"a\tb\\c", "2"}));
    EXPECT_EQ(tallix::LastArgsToken(start.lastX, start.lastY, start.lastNum, '.'),
              "LAST=-0;3.33333333333333333329E-1");
    ASSERT_EQ(lines.size(), u.tape.Size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].caption, u.tape.At(i).caption);
        EXPECT_EQ(lines[i].undone, u.tape.At(i).undone);
        EXPECT_EQ(lines[i].step, u.tape.At(i).step);
        EXPECT_EQ(lines[i].value, u.tape.At(i).value);
        EXPECT_EQ(lines[i].script, u.tape.At(i).script);
    }
    // Written and read back, the tape goes on where it stood: a redo
    // unmarks the line its step left.
    const std::string path = PathOf("Tallix.tape");
    ASSERT_TRUE(tallix::tape::SaveTapeFile(path, bytes));
    Tape back;
    EXPECT_FALSE(tallix::tape::LoadTapeFile(path, back));
    EXPECT_EQ(tallix::tape::Serialize(back), bytes);
    // Attached to a calculator of a new run, whose history has nothing to
    // redo, the undone line goes.
    TestCalc fresh;
    back.Attach(fresh.calc);
    ASSERT_EQ(back.Size(), u.tape.Size() - 1);
    EXPECT_FALSE(back.At(back.Size() - 1).undone);
}

TEST_F(TapeFile, ASaveMakesTheFolderItNeeds) {
    const std::string path = PathOf("new/folder/Tallix.tape");
    ASSERT_TRUE(tallix::tape::SaveTapeFile(path, "Tallix tape 1\nstart 2 2 16 -1\n"));
    Tape tape;
    EXPECT_FALSE(tallix::tape::LoadTapeFile(path, tape));
}

TEST_F(TapeFile, AMissingFileIsAnEmptyTape) {
    Tape tape;
    EXPECT_FALSE(tallix::tape::LoadTapeFile(PathOf("none.tape"), tape));
    EXPECT_EQ(tape.Size(), 0u);
}

TEST_F(TapeFile, AnUnreadableFileIsMovedAsideWithAWarning) {
    const char* bad[] = {
        "not a tape\n",
        "Tallix tape 1\nstart 9 0 16 -1\n",
        "Tallix tape 1\nstart 2 2 16 -1\nX-- a\tb\tc\td\n",
        "Tallix tape 1\nstart 2 2 16 -1\nC-s SIN\t0.5\n",
        "Tallix tape 1\nstart 2 2 16 -1\nC-s S\\qIN\t\t\t\n",
    };
    for (const char* bytes : bad) {
        const std::string path = PathOf("Tallix.tape");
        Put(path, bytes);
        Tape tape;
        auto warning = tallix::tape::LoadTapeFile(path, tape);
        ASSERT_TRUE(warning) << bytes;
        EXPECT_NE(warning->find("Tallix.tape.bad"), std::string::npos) << *warning;
        EXPECT_FALSE(std::filesystem::exists(path));
        EXPECT_EQ(Get(path + ".bad"), bytes);
        EXPECT_EQ(tape.Size(), 0u);
    }
}

// ---- the limit -----------------------------------------------------------------

TEST(TapeLimit, TheOldestLinesGoAndTheScriptStillReplays) {
    for (std::size_t max : {std::size_t{40}, Tape::kMaxLines}) {
        Taped t(max);
        // From texts no number entry gives back and last arguments.
        tallix::testing::PushTexts(t.calc, {"abc", "1.50"});
        tallix::testing::Arrange(t.calc,
                                 [](tallix::Calculator::Change& c) { c.SetLastArgs(0.1L, 2, 2); });
        std::mt19937 rng(7);
        const Cmd cmds[] = {Cmd::Add,  Cmd::Mul, Cmd::Swap, Cmd::Sin,
                            Cmd::Drop, Cmd::Neg, Cmd::Last};
        const std::size_t events = max + max / 2 + 17;
        for (std::size_t i = 0; i < events; ++i) {
            if (rng() % 2)
                t.Type(std::to_string(rng() % 100) + "\r");
            else
                t.Run(cmds[rng() % std::size(cmds)]);
            ASSERT_LE(t.tape.Size(), max);
        }
        EXPECT_GE(t.tape.Size(), max * 8 / 10);
        TestCalc fresh;
        Replay(t.tape.Script(), fresh.calc);
        EXPECT_EQ(fresh.Stack(), t.Stack());
        EXPECT_EQ(tallix::LastArgsToken(fresh.calc), tallix::LastArgsToken(t.calc));
    }
}

} // namespace

// ---- printing ---------------------------------------------------------------------

namespace tallix_tape_print {

using tallix::print::testing::PrintRig;

TEST(PrintTape, TheLinesUnderTheTapesTitleWithPageAndDate) {
    Taped t;
    t.Type("0.5S1\r0/");
    ASSERT_TRUE(t.calc.Undo()); // the 0, and the error that followed it
    PrintRig rig;
    tallix::print::ConfigureStackPrinter(*rig, '.');
    tallix::tape::PrintTape(*rig, t.tape, '.', tallix::print::kBatchDisplayFont);
    EXPECT_EQ(rig.dev.TextsOnPage(1),
              (Strings{"Tallix - Tape", "Page 1", "06/05/2024", "1:02:03 PM", "", "0.5", "SIN",
                       "0.479425538604203", "", "1", "(undone)", "0",
                       "÷ Error: Infinite Result (undone)", ""}));
    // The printer's own title is back for the stack listing.
    EXPECT_EQ(rig->Title(), "Tallix - Stack Print");
}

} // namespace tallix_tape_print
