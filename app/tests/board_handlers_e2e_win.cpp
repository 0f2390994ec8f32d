// The board's handlers end to end: the real program in a fresh folder with the recording
// bass.dll, driven through its windows; checked through the audio calls it made, its INI file,
// its controls and the dialogs it showed.
#include <windows.h>
#include <commctrl.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

#include "app/tests/board_driver_win.h"

namespace board_test {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

const std::vector<std::string> kStartUpCalls = {
    "BASS_Init -1 44100 0 0 0", "BASS_GetDevice",       "BASS_GetDeviceInfo 1 ptr",
    "BASS_GetDeviceInfo 2 ptr", "BASS_GetDeviceInfo 3 ptr", "BASS_GetDeviceInfo 4 ptr",
    "BASS_GetDeviceInfo 5 ptr", "BASS_Free",            "BASS_Init 1 44100 0 0 0"};

// Asked in UTF-16: across processes Wine hands an ANSI CB_GETLBTEXT the wide text.
std::vector<std::string> ComboItems(HWND combo) {
  std::vector<std::string> items;
  const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    wchar_t wide[512] = {};
    SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(wide));
    char text[1024] = {};
    WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    items.push_back(text);
  }
  return items;
}

int ComboSelection(HWND combo) { return static_cast<int>(SendMessageA(combo, CB_GETCURSEL, 0, 0)); }

// Picks an item the way a user does with the keyboard: open the list, move, Enter.
void PickComboItem(HWND combo, int index) {
  ASSERT_TRUE(FocusControl(combo));
  const int current = ComboSelection(combo);
  PressKey(VK_F4);
  if (index > current) PressKey(VK_DOWN, index - current);
  if (index < current) PressKey(VK_UP, current - index);
  PressKey(VK_RETURN);
  EXPECT_EQ(ComboSelection(combo), index) << "the keys did not reach the channel box";
}

WORD HotkeyOf(HWND control) { return static_cast<WORD>(SendMessageA(control, HKM_GETHOTKEY, 0, 0)); }

// The control that has the keyboard focus in the thread of the given window.
HWND FocusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

HWND HotkeyControl(HWND dialog) {
  for (HWND child : Descendants(dialog)) {
    if (_stricmp(ClassOf(child).c_str(), "msctls_hotkey32") == 0) return child;
  }
  return nullptr;
}

class BoardHandlers : public ::testing::Test {
 protected:
  void SetUp() override {
    // No desktop shortcut step in the way, unless a test wants it.
    folder_.WriteText("diRaConfig.ini", "[init]\r\nwriteFile=1\r\n");
  }

  std::unique_ptr<Board> Start(const BassAnswers& answers = {}) {
    auto board = std::make_unique<Board>(folder_, log_, answers);
    EXPECT_TRUE(board->Started()) << "the board's main window did not show";
    WaitUntil([&] { return Calls().size() >= kStartUpCalls.size(); }, 5s);
    PumpFor(200ms);
    mark_ = Calls().size();
    return board;
  }

  std::vector<std::string> Calls() const { return ReadLines(log_); }

  // The calls since the last look, once at least count of them came and no more followed.
  std::vector<std::string> NewCalls(std::size_t count) {
    WaitUntil([&] { return Calls().size() >= mark_ + count; }, 3s);
    PumpFor(300ms);
    std::vector<std::string> calls = Calls();
    std::vector<std::string> fresh(calls.begin() + static_cast<long>(std::min(mark_, calls.size())), calls.end());
    mark_ = calls.size();
    return fresh;
  }

  std::vector<std::string> PlayCalls(int previous, int handle, const std::string& file, const char* volume = "1") {
    return {"BASS_StreamFree " + std::to_string(previous), "BASS_StreamCreateFile 0 " + file + " 0 0 0",
            "BASS_ChannelSetAttribute " + std::to_string(handle) + " 2 " + volume,
            "BASS_ChannelPlay " + std::to_string(handle) + " 1"};
  }

  HWND Button(const Board& board, const std::string& caption) {
    HWND button = board.Control("Button", caption);
    EXPECT_NE(button, nullptr) << "no button " << caption;
    return button;
  }

  // Answers the message box with OK after checking its caption; gives its text.
  // A system-modal box (flag 0x1000) is the topmost window.
  std::string AnswerMessageBox(const Board& board, const std::string& caption, bool systemModal = false) {
    HWND box = board.WaitForWindow(caption, "#32770", 5s);
    if (!box) return "(no message box " + caption + ")";
    const std::string text = MessageBoxText(box);
    EXPECT_EQ((GetWindowLongA(box, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0, systemModal) << "box " << caption;
    PostMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 5s));
    return text;
  }

  HWND OpenHotkeyDialog(const Board& board, HWND button, const std::string& caption) {
    RightClick(button);
    HWND dialog = board.WaitForWindow("修改快捷键:" + caption, nullptr, 5s);
    EXPECT_NE(dialog, nullptr) << "no hotkey dialog for " << caption;
    return dialog;
  }

  void CloseDialog(HWND dialog, const char* button) {
    ASSERT_TRUE(PressButton(dialog, button));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 5s)) << button << " left the dialog open";
  }

  IniFile Ini() const { return ReadIni(folder_.Ini()); }

  BoardFolder folder_{RecordingBassDll()};
  std::string log_ = folder_.File("bass.log");
  std::size_t mark_ = 0;
};

TEST_F(BoardHandlers, StartUpAsksForTheDevicesThenOpensTheChosenOne) {
  auto board = Start();
  EXPECT_THAT(Calls(), ElementsAreArray(kStartUpCalls));
  HWND combo = board->Combo();
  ASSERT_NE(combo, nullptr);
  EXPECT_THAT(ComboItems(combo), ElementsAre("不输出音效", "Speakers", "Line out"));
  EXPECT_EQ(ComboSelection(combo), 1);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(SendMessageA(combo, CB_GETITEMDATA, i, 0), i);
  EXPECT_EQ(SendMessageA(board->Slider(), TBM_GETPOS, 0, 0), 100);
}

// Which item a saved passage selects, and so which device the start opens.
struct PassageCase {
  const char* name;
  BassAnswers answers;
  const char* passage;
  std::vector<std::string> items;
  int selected;
};

// Both BASS_Init calls of the start came.
bool StartOpened(const std::string& log) {
  int opened = 0;
  for (const std::string& call : ReadLines(log)) opened += call.rfind("BASS_Init ", 0) == 0;
  return opened >= 2;
}

TEST(SavedPassage, SelectsItsItemAndOpensItsDevice) {
  const std::vector<std::string> twoDevices = {"不输出音效", "Speakers", "Line out"};
  const std::vector<std::string> fixedList = {"不输出音效", "系统音源", "4/5", "6/7", "8/9"};
  const BassAnswers fixed{"0", "", ""};
  const std::vector<PassageCase> cases = {
      {"devices, 2", {}, "2", twoDevices, 2},
      {"devices, the number of items is the last", {}, "3", twoDevices, 2},
      {"devices, too large", {}, "4", twoDevices, 1},
      {"devices, 0", {}, "0", twoDevices, 1},
      {"devices, not a number", {}, "abc", twoDevices, 1},
      {"devices, a failing one skipped", {"1", "Speakers||Headset|Monitor", ""}, "3",
       {"不输出音效", "Speakers", "Headset", "Monitor"}, 3},
      {"devices, only five", {"1", "A|B|C|D|E|F", ""}, "6", {"不输出音效", "A", "B", "C", "D", "E"}, 5},
      {"fixed, 2", fixed, "2", fixedList, 2},
      {"fixed, 4", fixed, "4", fixedList, 4},
      {"fixed, too large", fixed, "5", fixedList, 1},
      {"fixed, 0", fixed, "0", fixedList, 1},
      // No output open: the library answers -1, which is no device number.
      {"no output, devices named", {"-1", "Speakers|Line out", ""}, "2", fixedList, 2},
      {"no output, no device", {"-1", "|", ""}, "1", fixedList, 1},
  };
  for (const PassageCase& c : cases) {
    SCOPED_TRACE(c.name);
    BoardFolder folder(RecordingBassDll());
    folder.WriteText("diRaConfig.ini", std::string("[init]\r\nwriteFile=1\r\n[music]\r\npassage=") + c.passage + "\r\n");
    const std::string log = folder.File("bass.log");
    Board board(folder, log, c.answers);
    ASSERT_TRUE(board.Started());
    EXPECT_TRUE(WaitUntil([&] { return StartOpened(log); }, 5s));
    const std::vector<std::string> calls = ReadLines(log);
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back(), "BASS_Init " + std::to_string(c.selected) + " 44100 0 0 0");
    EXPECT_THAT(ComboItems(board.Combo()), ElementsAreArray(c.items));
    EXPECT_EQ(ComboSelection(board.Combo()), c.selected);
    EXPECT_TRUE(board.Close());
  }
}

TEST_F(BoardHandlers, PlayFreesThePreviousStreamStopKeepsItAndCloseFreesIt) {
  folder_.AddSound("群众笑声");
  folder_.AddSound("激烈掌声");
  auto board = Start();
  HWND laughter = Button(*board, "群众笑声"), applause = Button(*board, "激烈掌声");
  HWND stop = Button(*board, "停止播放");
  ASSERT_TRUE(laughter && applause && stop);

  Click(stop);
  EXPECT_THAT(NewCalls(1), ElementsAre("BASS_ChannelStop 0"));
  Click(laughter);
  EXPECT_THAT(NewCalls(4), ElementsAreArray(PlayCalls(0, 1, folder_.Sound("群众笑声"))));
  Click(applause);
  EXPECT_THAT(NewCalls(4), ElementsAreArray(PlayCalls(1, 2, folder_.Sound("激烈掌声"))));
  Click(stop);
  EXPECT_THAT(NewCalls(1), ElementsAre("BASS_ChannelStop 2"));
  // After a stop the same button starts again with a new stream.
  Click(applause);
  EXPECT_THAT(NewCalls(4), ElementsAreArray(PlayCalls(2, 3, folder_.Sound("激烈掌声"))));

  ASSERT_TRUE(board->Close()) << "the board did not end after WM_CLOSE";
  EXPECT_THAT(NewCalls(2), ElementsAre("BASS_StreamFree 3", "BASS_Free"));
}

TEST_F(BoardHandlers, AMissingSoundFileFreesThePlayingOneAndPlaysNothing) {
  folder_.AddSound("群众笑声");
  auto board = Start();
  Click(Button(*board, "群众笑声"));
  EXPECT_THAT(NewCalls(4), ElementsAreArray(PlayCalls(0, 1, folder_.Sound("群众笑声"))));
  // No file, so no stream: the handle 0 still gets the volume, and nothing is played.
  Click(Button(*board, "激烈掌声"));
  EXPECT_THAT(NewCalls(2), ElementsAre("BASS_StreamFree 1", "BASS_ChannelSetAttribute 0 2 1"));
}

TEST_F(BoardHandlers, TheSliderSetsThePlayingStreamSavesItsLevelAndComesBackAtTheNextStart) {
  folder_.AddSound("群众笑声");
  {
    auto board = Start();
    Click(Button(*board, "群众笑声"));
    NewCalls(4);
    ASSERT_TRUE(FocusControl(board->Slider()));
    PressKey(VK_PRIOR, 5);
    ASSERT_EQ(SendMessageA(board->Slider(), TBM_GETPOS, 0, 0), 50) << "the keys did not reach the slider";
    EXPECT_THAT(NewCalls(5), ElementsAre("BASS_ChannelSetAttribute 1 2 0.9", "BASS_ChannelSetAttribute 1 2 0.8",
                                         "BASS_ChannelSetAttribute 1 2 0.7", "BASS_ChannelSetAttribute 1 2 0.6",
                                         "BASS_ChannelSetAttribute 1 2 0.5"));
    EXPECT_EQ(IniValue(Ini(), "music", "volume"), "50");
    // A new effect starts at the slider's level.
    Click(Button(*board, "群众笑声"));
    EXPECT_THAT(NewCalls(4), ElementsAreArray(PlayCalls(1, 2, folder_.Sound("群众笑声"), "0.5")));
    ASSERT_TRUE(FocusControl(board->Slider()));
    PressKey(VK_HOME);
    EXPECT_THAT(NewCalls(1), ElementsAre("BASS_ChannelSetAttribute 2 2 0"));
    EXPECT_EQ(IniValue(Ini(), "music", "volume"), "0");
    ASSERT_TRUE(board->Close());
  }
  auto board = Start();
  EXPECT_EQ(SendMessageA(board->Slider(), TBM_GETPOS, 0, 0), 0);
  Click(Button(*board, "群众笑声"));
  EXPECT_THAT(NewCalls(4), ElementsAreArray(PlayCalls(0, 1, folder_.Sound("群众笑声"), "0")));
}

TEST_F(BoardHandlers, ChoosingAChannelReopensTheOutputAndSavesItOnlyWhenItOpened) {
  BassAnswers answers;
  answers.devices = "Speakers|Line out|Headset";
  answers.initFail = "2";
  {
    auto board = Start(answers);
    HWND combo = board->Combo();
    PickComboItem(combo, 3);
    EXPECT_EQ(AnswerMessageBox(*board, "信息："), "设备Headset初始化成功！");
    EXPECT_THAT(NewCalls(2), ElementsAre("BASS_Free", "BASS_Init 3 44100 0 0 0"));
    EXPECT_EQ(IniValue(Ini(), "music", "passage"), "3");

    PickComboItem(combo, 2);
    EXPECT_EQ(AnswerMessageBox(*board, "失败", true), "设备初始化失败！");
    EXPECT_THAT(NewCalls(2), ElementsAre("BASS_Free", "BASS_Init 2 44100 0 0 0"));
    EXPECT_EQ(IniValue(Ini(), "music", "passage"), "3");

    // "No output" opens device 0 and is saved, yet a start never selects it.
    PickComboItem(combo, 0);
    EXPECT_EQ(AnswerMessageBox(*board, "信息："), "设备不输出音效初始化成功！");
    EXPECT_THAT(NewCalls(2), ElementsAre("BASS_Free", "BASS_Init 0 44100 0 0 0"));
    EXPECT_EQ(IniValue(Ini(), "music", "passage"), "0");
    ASSERT_TRUE(board->Close());
  }
  auto board = Start(answers);
  EXPECT_EQ(ComboSelection(board->Combo()), 1);
  EXPECT_THAT(Calls(), ::testing::Contains("BASS_Init 1 44100 0 0 0"));
}

TEST_F(BoardHandlers, FirstStartWritesOnlyTheShortcutFlagAndMakesOneShortcut) {
  DeleteFileA(folder_.Ini().c_str());
  const std::string shortcut = DesktopShortcut();
  DeleteFileA(shortcut.c_str());
  {
    auto board = Start();
    EXPECT_TRUE(WaitUntil([&] { return GetFileAttributesA(shortcut.c_str()) != INVALID_FILE_ATTRIBUTES; }, 5s))
        << "no shortcut " << shortcut;
    ASSERT_TRUE(board->Close());
  }
  EXPECT_EQ(Ini(), (IniFile{{"init", {{"writeFile", "1"}}}}));
  ASSERT_TRUE(DeleteFileA(shortcut.c_str()));

  auto board = Start();
  ASSERT_TRUE(board->Close());
  EXPECT_EQ(GetFileAttributesA(shortcut.c_str()), INVALID_FILE_ATTRIBUTES) << "the second start made a shortcut";
  EXPECT_EQ(Ini(), (IniFile{{"init", {{"writeFile", "1"}}}}));
}

TEST_F(BoardHandlers, AnAltAHotkeyIsStoredShownRefusedTwiceAndClearedAgain) {
  folder_.AddSound("群众笑声");
  auto board = Start();
  HWND laughter = Button(*board, "群众笑声");
  ASSERT_NE(laughter, nullptr);
  EXPECT_EQ(board->TooltipText(laughter), "右键设置快捷键");

  HWND dialog = OpenHotkeyDialog(*board, laughter, "群众笑声");
  ASSERT_NE(dialog, nullptr);
  HWND field = HotkeyControl(dialog);
  ASSERT_NE(field, nullptr);
  EXPECT_EQ(HotkeyOf(field), 0);
  ASSERT_TRUE(FocusControl(field));
  PressCombination({VK_MENU, 'A'});
  ASSERT_EQ(HotkeyOf(field), MAKEWORD('A', HOTKEYF_ALT));
  CloseDialog(dialog, "确定");
  EXPECT_EQ(IniValue(Ini(), "hotkey", "btn1"), "65,4");
  EXPECT_EQ(board->TooltipText(laughter), "快捷键:Alt + A");

  {
    // Pressed while another program has the focus.
    FocusWindow other;
    PressCombination({VK_MENU, 'A'});
    EXPECT_THAT(NewCalls(4), ElementsAreArray(PlayCalls(0, 1, folder_.Sound("群众笑声"))));
  }

  // The same combination again: registered before the old one is released, so refused.
  dialog = OpenHotkeyDialog(*board, laughter, "群众笑声");
  ASSERT_NE(dialog, nullptr);
  field = HotkeyControl(dialog);
  EXPECT_EQ(HotkeyOf(field), MAKEWORD('A', HOTKEYF_ALT));
  ASSERT_TRUE(PressButton(dialog, "确定"));
  EXPECT_EQ(AnswerMessageBox(*board, "错误"), "注册快捷键失败！");
  EXPECT_TRUE(IsWindowVisible(dialog)) << "the dialog closed after the refusal";
  CloseDialog(dialog, "取消");
  EXPECT_EQ(IniValue(Ini(), "hotkey", "btn1"), "65,4");
  {
    FocusWindow other;
    PressCombination({VK_MENU, 'A'});
    EXPECT_THAT(NewCalls(4), ElementsAreArray(PlayCalls(1, 2, folder_.Sound("群众笑声"))));
  }

  // Cleared: the key goes, the hotkey no longer plays.
  dialog = OpenHotkeyDialog(*board, laughter, "群众笑声");
  ASSERT_NE(dialog, nullptr);
  field = HotkeyControl(dialog);
  ASSERT_TRUE(FocusControl(field));
  PressKey(VK_BACK);
  ASSERT_EQ(HotkeyOf(field), 0);
  CloseDialog(dialog, "确定");
  EXPECT_EQ(IniValue(Ini(), "hotkey", "btn1"), "(missing)");
  // Clearing leaves the tooltip as it was until the next start.
  EXPECT_EQ(board->TooltipText(laughter), "快捷键:Alt + A");
  {
    FocusWindow other;
    PressCombination({VK_MENU, 'A'});
    PumpFor(700ms);
    EXPECT_THAT(NewCalls(0), IsEmpty());
  }
}

// Confirming the empty field of a button without a hotkey releases nothing: the other buttons'
// hotkeys keep working.
TEST_F(BoardHandlers, ConfirmingAnEmptyFieldOnAnotherButtonKeepsTheHotkeysAlive) {
  folder_.WriteText("diRaConfig.ini", "[init]\r\nwriteFile=1\r\n[hotkey]\r\nbtn1=65,4\r\n");
  folder_.AddSound("群众笑声");
  auto board = Start();
  HWND applause = Button(*board, "激烈掌声");
  HWND dialog = OpenHotkeyDialog(*board, applause, "激烈掌声");
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(HotkeyOf(HotkeyControl(dialog)), 0);
  CloseDialog(dialog, "确定");
  FocusWindow other;
  PressCombination({VK_MENU, 'A'});
  EXPECT_THAT(NewCalls(4), ElementsAreArray(PlayCalls(0, 1, folder_.Sound("群众笑声"))));
}

// The user clicks into the hotkey input, then changes their mind: Esc closes the dialog without
// either button's handler, and the old hotkey stays. Tab reaches the input like any control.
TEST_F(BoardHandlers, EscClosesTheHotkeyDialogFromItsInputAndTabReachesIt) {
  folder_.WriteText("diRaConfig.ini", "[init]\r\nwriteFile=1\r\n[hotkey]\r\nbtn1=65,4\r\n");
  folder_.AddSound("群众笑声");
  auto board = Start();
  HWND laughter = Button(*board, "群众笑声");
  HWND dialog = OpenHotkeyDialog(*board, laughter, "群众笑声");
  ASSERT_NE(dialog, nullptr);
  HWND field = HotkeyControl(dialog);
  ASSERT_NE(field, nullptr);
  HWND ok = nullptr;
  for (HWND child : Descendants(dialog)) {
    if (WindowText(child) == "确定") ok = child;
  }
  ASSERT_TRUE(ok && FocusControl(ok));
  bool reached = false;
  for (int i = 0; i < 4 && !reached; ++i) {
    PressKey(VK_TAB);
    reached = FocusOf(dialog) == field;
  }
  EXPECT_TRUE(reached) << "Tab never reached the hotkey input";
  PressCombination({VK_SHIFT, VK_TAB});
  EXPECT_NE(FocusOf(dialog), field);

  RECT box;
  GetClientRect(field, &box);
  ClickAt(field, box.right / 2, box.bottom / 2);
  ASSERT_EQ(FocusOf(dialog), field) << "the click did not put the focus into the input";
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 5s)) << "Esc left the dialog open";
  EXPECT_EQ(ReadWholeFile(folder_.Ini()), "[init]\r\nwriteFile=1\r\n[hotkey]\r\nbtn1=65,4\r\n");
  EXPECT_EQ(board->TooltipText(laughter), "快捷键:Alt + A");
  FocusWindow other;
  PressCombination({VK_MENU, 'A'});
  EXPECT_THAT(NewCalls(4), ElementsAreArray(PlayCalls(0, 1, folder_.Sound("群众笑声"))));
}

// A combination stays with its button until that one is cleared: moving it to another is refused.
// While the first button holds Alt+A the keys never reach the second's field (the system takes
// them as the hotkey), so the field is given the value the way the dialog's own creation does.
TEST_F(BoardHandlers, MovingACombinationToAnotherButtonFailsUntilTheFirstIsCleared) {
  folder_.WriteText("diRaConfig.ini", "[init]\r\nwriteFile=1\r\n[hotkey]\r\nbtn1=65,4\r\n");
  folder_.AddSound("激烈掌声");
  auto board = Start();
  HWND laughter = Button(*board, "群众笑声"), applause = Button(*board, "激烈掌声");
  HWND dialog = OpenHotkeyDialog(*board, applause, "激烈掌声");
  ASSERT_NE(dialog, nullptr);
  SendMessageA(HotkeyControl(dialog), HKM_SETHOTKEY, MAKEWORD('A', HOTKEYF_ALT), 0);
  ASSERT_TRUE(PressButton(dialog, "确定"));
  EXPECT_EQ(AnswerMessageBox(*board, "错误"), "注册快捷键失败！");
  CloseDialog(dialog, "取消");
  EXPECT_EQ(IniValue(Ini(), "hotkey", "btn2"), "(missing)");

  dialog = OpenHotkeyDialog(*board, laughter, "群众笑声");
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(FocusControl(HotkeyControl(dialog)));
  PressKey(VK_BACK);
  CloseDialog(dialog, "确定");
  // Now the keys reach the field.
  dialog = OpenHotkeyDialog(*board, applause, "激烈掌声");
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(FocusControl(HotkeyControl(dialog)));
  PressCombination({VK_MENU, 'A'});
  ASSERT_EQ(HotkeyOf(HotkeyControl(dialog)), MAKEWORD('A', HOTKEYF_ALT));
  CloseDialog(dialog, "确定");
  EXPECT_EQ(IniValue(Ini(), "hotkey", "btn2"), "65,4");
  EXPECT_EQ(IniValue(Ini(), "hotkey", "btn1"), "(missing)");
  FocusWindow other;
  PressCombination({VK_MENU, 'A'});
  EXPECT_THAT(NewCalls(4), ElementsAreArray(PlayCalls(0, 1, folder_.Sound("激烈掌声"))));
}

// Another program holds Alt+Z: the board starts without a word, and the button invites a new one.
TEST_F(BoardHandlers, AHotkeyRefusedAtStartUpIsSilentAndTheTipInvitesANewOne) {
  FocusWindow holder;
  ASSERT_TRUE(RegisterHotKey(holder.Handle(), 7, MOD_ALT, 'Z'));
  folder_.WriteText("diRaConfig.ini", "[init]\r\nwriteFile=1\r\n[hotkey]\r\nbtn1=90,4\r\n");
  auto board = Start();
  EXPECT_EQ(board->WaitForWindow("错误", "#32770", 1s), nullptr) << "a refusal at start-up was reported";
  EXPECT_EQ(board->TooltipText(Button(*board, "群众笑声")), "右键设置快捷键");
  EXPECT_EQ(IniValue(Ini(), "hotkey", "btn1"), "90,4") << "the stored value must stay for the next start";
  UnregisterHotKey(holder.Handle(), 7);
}

// Hand-edited volumes: no number reads as 0, above the slider's range as its top.
TEST_F(BoardHandlers, ASavedVolumeThatIsNoNumberOrTooLargeStaysInTheSlidersRange) {
  folder_.AddSound("群众笑声");
  const std::pair<const char*, std::pair<int, const char*>> cases[] = {{"abc", {0, "0"}}, {"250", {100, "1"}}};
  for (const auto& [saved, expected] : cases) {
    SCOPED_TRACE(saved);
    folder_.WriteText("diRaConfig.ini", std::string("[init]\r\nwriteFile=1\r\n[music]\r\nvolume=") + saved + "\r\n");
    auto board = Start();
    EXPECT_EQ(SendMessageA(board->Slider(), TBM_GETPOS, 0, 0), expected.first);
    Click(Button(*board, "群众笑声"));
    EXPECT_THAT(NewCalls(4), ElementsAreArray(PlayCalls(0, 1, folder_.Sound("群众笑声"), expected.second)));
    ASSERT_TRUE(board->Close());
  }
}

TEST_F(BoardHandlers, ACtrlShiftF1HotkeyOnTheStopButtonStopsAndIsRestoredAtTheNextStart) {
  folder_.AddSound("群众笑声");
  {
    auto board = Start();
    HWND stop = Button(*board, "停止播放");
    HWND dialog = OpenHotkeyDialog(*board, stop, "停止播放");
    ASSERT_NE(dialog, nullptr);
    HWND field = HotkeyControl(dialog);
    ASSERT_TRUE(FocusControl(field));
    PressCombination({VK_CONTROL, VK_SHIFT, VK_F1});
    ASSERT_EQ(HotkeyOf(field), MAKEWORD(VK_F1, HOTKEYF_CONTROL | HOTKEYF_SHIFT));
    CloseDialog(dialog, "确定");
    EXPECT_EQ(IniValue(Ini(), "hotkey", "btn_stop"), "112,3");
    EXPECT_EQ(board->TooltipText(stop), "快捷键:Ctrl + Shift + F1");
    ASSERT_TRUE(board->Close());
  }
  auto board = Start();
  EXPECT_EQ(board->TooltipText(Button(*board, "停止播放")), "快捷键:Ctrl + Shift + F1");
  Click(Button(*board, "群众笑声"));
  NewCalls(4);
  FocusWindow other;
  PressCombination({VK_CONTROL, VK_SHIFT, VK_F1});
  EXPECT_THAT(NewCalls(1), ElementsAre("BASS_ChannelStop 1"));
}

TEST_F(BoardHandlers, SavedHotkeysAreRestoredAndAKeyPartOfZeroRegistersNone) {
  // btn12 belongs to "按钮_音效12" (caption "牵手成功") however the three-digit buttons name
  // their keys; btn1 has no key part, so no hotkey.
  folder_.WriteText("diRaConfig.ini", "[init]\r\nwriteFile=1\r\n[hotkey]\r\nbtn12=66,4\r\nbtn1=0,4\r\n");
  folder_.AddSound("牵手成功");
  auto board = Start();
  EXPECT_EQ(board->TooltipText(Button(*board, "牵手成功")), "快捷键:Alt + B");
  EXPECT_EQ(board->TooltipText(Button(*board, "群众笑声")), "右键设置快捷键");
  FocusWindow other;
  PressCombination({VK_MENU, 'B'});
  EXPECT_THAT(NewCalls(4), ElementsAreArray(PlayCalls(0, 1, folder_.Sound("牵手成功"))));
}

// A three-digit button keys its hotkey by its whole number: "按钮_音效123" is btn123, apart
// from "按钮_音效12"'s btn12.
TEST_F(BoardHandlers, AThreeDigitButtonKeepsAHotkeyOfItsOwn) {
  folder_.AddSound("吹一声口哨");
  {
    auto board = Start();
    HWND whistle = Button(*board, "吹一声口哨");
    ASSERT_NE(whistle, nullptr);
    HWND dialog = OpenHotkeyDialog(*board, whistle, "吹一声口哨");
    ASSERT_NE(dialog, nullptr);
    HWND field = HotkeyControl(dialog);
    ASSERT_TRUE(FocusControl(field));
    PressCombination({VK_MENU, 'C'});
    ASSERT_EQ(HotkeyOf(field), MAKEWORD('C', HOTKEYF_ALT));
    CloseDialog(dialog, "确定");
    EXPECT_EQ(IniValue(Ini(), "hotkey", "btn123"), "67,4") << ReadWholeFile(folder_.Ini());
    EXPECT_EQ(IniValue(Ini(), "hotkey", "btn12"), "(missing)");
    ASSERT_TRUE(board->Close());
  }
  auto board = Start();
  FocusWindow other;
  PressCombination({VK_MENU, 'C'});
  EXPECT_THAT(NewCalls(4), ElementsAreArray(PlayCalls(0, 1, folder_.Sound("吹一声口哨"))));
}

TEST_F(BoardHandlers, TheBoardClosesAlsoWithoutAnOpenOutput) {
  BassAnswers answers;
  answers.initFail = "1";
  auto board = Start(answers);
  ASSERT_TRUE(board->Close()) << "the board did not end after WM_CLOSE";
  EXPECT_THAT(NewCalls(2), ElementsAre("BASS_StreamFree 0", "BASS_Free"));
}

// The web-site button opens the manual beside the program in whatever opens web pages; the shop
// button and the two contact badges have no target in this build and open nothing.
TEST_F(BoardHandlers, TheWebSiteButtonOpensTheManualAndTheLinksWithoutATargetNothing) {
  folder_.WriteText("manual.html", "<html></html>");
  const std::string opened = folder_.File("opened.log");
  PageOpener opener(opened);
  ASSERT_TRUE(opener.Ready());
  auto board = Start();
  Click(Button(*board, "官方网站"));
  ASSERT_TRUE(WaitUntil([&] { return !ReadLines(opened).empty(); }, 10s)) << "nothing was opened";
  Click(Button(*board, "官方淘宝"));
  ClickAt(board->Main(), 296 + 37, 560 + 11);
  ClickAt(board->Main(), 384 + 37, 560 + 11);
  PumpFor(2s);
  const std::vector<std::string> lines = ReadLines(opened);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find(folder_.File("manual.html")), std::string::npos) << lines[0];
}

// The category strip over the label "标签1": tabs 70 wide with 3-pixel gaps after a 2-pixel margin.
TEST_F(BoardHandlers, TheCategoryStripSwitchesPagesAndTheSixthShowsTheCustomSlots) {
  auto board = Start();
  HWND strip = board->Control("SbPaintedUnit", "按钮组");
  ASSERT_NE(strip, nullptr);
  HWND laughter = Button(*board, "群众笑声"), slot = board->PageButtonAt(8, 40);
  HWND wind = Button(*board, "风趣1");  // page 2
  ASSERT_TRUE(laughter && slot && wind);
  EXPECT_TRUE(IsWindowVisible(laughter));
  EXPECT_FALSE(IsWindowVisible(slot));
  auto choose = [&](int item) { ClickAt(strip, 2 + (item - 1) * 73 + 35, 12); };
  choose(6);
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(slot) != FALSE; }, 3s)) << "page 6 did not show";
  EXPECT_FALSE(IsWindowVisible(laughter));
  choose(2);
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(wind) != FALSE; }, 3s)) << "page 2 did not show";
  EXPECT_FALSE(IsWindowVisible(slot));
  EXPECT_EQ(SendMessageA(board->PageControl(), TCM_GETCURSEL, 0, 0), 1);
}

// The custom slots: a 36-byte file name whose first 30 bytes end between two characters, so a
// cut by characters or by the whole name shows.
class CustomSlots : public BoardHandlers {
 protected:
  const std::string kLongName = "0123456789自定义音效文件名字很长";
  const std::string kOffered = "0123456789自定义音效文件名字很";

  HWND Slot1(const Board& board) {
    HWND slot = board.PageButtonAt(8, 40);
    EXPECT_NE(slot, nullptr) << "no custom slot at 8,40 of the page control";
    return slot;
  }

  // Right click, choose the file in the file dialog; gives the input box.
  HWND ChooseFile(const Board& board, HWND slot, const std::string& path) {
    RightClick(slot);
    HWND files = board.WaitForWindow("选择自定义音效", "#32770", 5s);
    EXPECT_NE(files, nullptr) << "no file dialog";
    if (!files) return nullptr;
    // The file name box, once the dialog has shown its controls.
    HWND edit = nullptr;
    EXPECT_TRUE(WaitUntil([&] { return (edit = VisibleEdit(files)) != nullptr; }, 5s)) << "no file name box";
    if (!edit) return nullptr;
    SetText(edit, path);
    PostMessageA(GetDlgItem(files, IDOK), BM_CLICK, 0, 0);
    HWND input = board.WaitForWindow("输入", "#32770", 5s);
    EXPECT_NE(input, nullptr) << "no input box after the file dialog";
    return input;
  }
};

TEST_F(CustomSlots, AssigningOffersTheCutNameWritesBothKeysAndTheSlotPlaysItsFile) {
  folder_.AddSound(kLongName);
  const std::string path = folder_.Sound(kLongName);
  {
    auto board = Start();
    HWND slot = Slot1(*board);
    ASSERT_NE(slot, nullptr);
    EXPECT_EQ(WindowText(slot), "自定义");
    // An empty slot plays nothing.
    Click(slot);
    PumpFor(500ms);
    EXPECT_THAT(NewCalls(0), IsEmpty());

    HWND input = ChooseFile(*board, slot, path);
    ASSERT_NE(input, nullptr);
    EXPECT_EQ(WindowText(VisibleEdit(input)), kOffered);
    SetText(VisibleEdit(input), "我的音效");
    ASSERT_TRUE(PressButton(input, "确认输入(&O)"));
    EXPECT_TRUE(WaitUntil([&] { return WindowText(slot) == "我的音效"; }, 5s)) << WindowText(slot);
    EXPECT_EQ(IniValue(Ini(), "music", "name1"), "我的音效");
    EXPECT_EQ(IniValue(Ini(), "music", "file1"), path);

    Click(slot);
    EXPECT_THAT(NewCalls(4), ElementsAreArray(PlayCalls(0, 1, path)));
    ASSERT_TRUE(board->Close());
  }
  auto board = Start();
  HWND slot = Slot1(*board);
  EXPECT_EQ(WindowText(slot), "我的音效");
  Click(slot);
  EXPECT_THAT(NewCalls(4), ElementsAreArray(PlayCalls(0, 1, path)));
}

// The input box is modal over the board: owned by it, the board disabled until it closes.
TEST_F(CustomSlots, ACancelledInputBoxChangesNothing) {
  folder_.AddSound("群众笑声");
  auto board = Start();
  HWND slot = Slot1(*board);
  ASSERT_NE(slot, nullptr);
  HWND input = ChooseFile(*board, slot, folder_.Sound("群众笑声"));
  ASSERT_NE(input, nullptr);
  EXPECT_EQ(WindowText(VisibleEdit(input)), "群众笑声.mp3");
  EXPECT_EQ(GetWindow(input, GW_OWNER), board->Main());
  EXPECT_FALSE(IsWindowEnabled(board->Main())) << "the board stays live behind the input box";
  ASSERT_TRUE(PressButton(input, "取消(&C)"));
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(input); }, 5s));
  EXPECT_TRUE(IsWindowEnabled(board->Main()));
  PumpFor(300ms);
  EXPECT_EQ(WindowText(slot), "自定义");
  EXPECT_EQ(Ini(), (IniFile{{"init", {{"writeFile", "1"}}}}));
  Click(slot);
  PumpFor(500ms);
  EXPECT_THAT(NewCalls(0), IsEmpty());
}

// A slot whose file was deleted after it was set ignores clicks and leaves the effect playing.
TEST_F(CustomSlots, ASlotWhoseFileWasDeletedIgnoresClicks) {
  folder_.AddSound("群众笑声");
  folder_.AddSound("掌声");
  folder_.WriteText("diRaConfig.ini", "[init]\r\nwriteFile=1\r\n[music]\r\nname1=掌声\r\nfile1=" +
                                          folder_.Sound("掌声") + "\r\n");
  ASSERT_TRUE(DeleteFileA(folder_.Sound("掌声").c_str()));
  auto board = Start();
  HWND slot = Slot1(*board);
  ASSERT_NE(slot, nullptr);
  EXPECT_EQ(WindowText(slot), "掌声");
  Click(Button(*board, "群众笑声"));
  NewCalls(4);
  Click(slot);
  PumpFor(500ms);
  EXPECT_THAT(NewCalls(0), IsEmpty());
}

// The file lies outside data\music: it is stored with its full path and played from there.
TEST_F(CustomSlots, AnEmptyNameIsKeptOverARestartAndAFileOfAnotherFolderPlays) {
  CreateDirectoryA(folder_.File("elsewhere").c_str(), nullptr);
  const std::string path = folder_.File("elsewhere\\掌声.mp3");
  folder_.WriteText("elsewhere\\掌声.mp3", "not really sound");
  {
    auto board = Start();
    HWND slot = Slot1(*board);
    ASSERT_NE(slot, nullptr);
    HWND input = ChooseFile(*board, slot, path);
    ASSERT_NE(input, nullptr);
    SetText(VisibleEdit(input), "");
    ASSERT_TRUE(PressButton(input, "确认输入(&O)"));
    EXPECT_TRUE(WaitUntil([&] { return WindowText(slot).empty(); }, 5s)) << WindowText(slot);
    PumpFor(300ms);
    EXPECT_EQ(IniValue(Ini(), "music", "name1"), "") << ReadWholeFile(folder_.Ini());
    EXPECT_EQ(IniValue(Ini(), "music", "file1"), path);
    ASSERT_TRUE(board->Close());
  }
  auto board = Start();
  HWND slot = Slot1(*board);
  EXPECT_EQ(WindowText(slot), "");
  Click(slot);
  EXPECT_THAT(NewCalls(4), ElementsAreArray(PlayCalls(0, 1, path)));
}

}  // namespace
}  // namespace board_test
