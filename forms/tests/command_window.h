#pragma once
// A loaded window of our own for the command tests under Wine: a drop-down list combo box with
// two stored items and a common-dialog unit, each with its handler slot recorded.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "forms/forms_runtime_win.h"
#include "forms/kinds.h"
#include "forms/tests/resource_builder.h"
#include "runtime/runtime_app.h"

namespace forms::testing {

inline constexpr WindowId kCommandWindow = 0x52010001;
inline constexpr UnitId kCommandWindowUnit = 0x06010000;
inline constexpr UnitId kComboUnit = 0x16010001;
inline constexpr UnitId kDialogUnit = 0x16010002;
inline constexpr UnitId kButtonUnit = 0x16010003;
inline constexpr std::int32_t kSelectionMadeSlot = 0;

// What the handlers saw: for each SelectionMade, the combo's CurrentIndex at that moment.
inline std::vector<std::int32_t> selectionsSeen;

inline HandlerReturn SelectionMadeHandler(std::span<const std::int32_t>) {
  selectionsSeen.push_back(
      FormsRuntime::Instance().ReadProperty(kCommandWindow, kComboUnit, 19).cell().AsInteger());
  return NoResult();
}
inline constexpr EventHandler kCommandHandlers[] = {&SelectionMadeHandler};

// Version 3 combo settings: a drop-down list, the stored items with their values.
inline std::vector<std::uint8_t> ComboData(const std::vector<std::string>& items,
                                           const std::vector<std::uint32_t>& values) {
  Bytes values32;
  for (std::uint32_t value : values) values32.U32(value);
  Bytes b;
  b.U32(3);
  for (std::uint32_t setting : {2u, 0u, 0u, 0u, 0u, 1u, 0u, 0xFFFFFFu, 0xFFFFFFFFu}) b.U32(setting);
  b.Counted(values32.data).Counted(std::vector<std::uint8_t>{}).Counted(std::string());
  b.U16(static_cast<std::uint16_t>(items.size()));
  for (const auto& item : items) b.Counted(item);
  b.Counted(std::string()).Counted(std::string()).U32(0);
  return b.data;
}

struct DialogSettings {
  // Properties 8, 12, 15, 16, 17, 18, 19 and eight zeros.
  std::vector<std::uint32_t> numbers{0, 0, 0, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  // Properties 9, 10, 11, 13, 14, 25, 27.
  std::vector<std::string> texts{"选择自定义音效", "",
                                 "支持的音效文件(*.mp3;*.wav;*.mid)|*.mp3;*.wav;*.mid|所有文件(*.*)|*.*",
                                 "data/music", "", "", ""};
};

inline std::vector<std::uint8_t> DialogData(const DialogSettings& settings) {
  Bytes b;
  b.U32(1);
  for (std::uint32_t number : settings.numbers) b.U32(number);
  for (const auto& text : settings.texts) b.Counted(text);
  return b.data;
}

class CommandWindowTest : public ::testing::Test {
 protected:
  static runtime::RuntimeApp& App() {
    static runtime::RuntimeApp* app = [] {
      auto* made = new runtime::RuntimeApp;  // lives as long as the test program
      FormsRuntime::Instance().Install(*made, kCommandHandlers);
      made->Initialise(runtime::ProgramDescriptor{});
      return made;
    }();
    return *app;
  }

  void SetUp() override {
    App();
    selectionsSeen.clear();
    Build(DialogSettings{});
  }
  void TearDown() override {
    FormsRuntime::Instance().DestroyAllWindows();
    Pump();
  }

  void Build(const DialogSettings& dialog) {
    TestUnit window;
    window.id = kCommandWindowUnit;
    window.kind = kind_ids::kWindow;
    window.name = "";
    window.left = 20;
    window.top = 20;
    window.width = 240;
    window.height = 160;
    window.flags = 0;  // hidden: showing a top-level window costs Wine a round trip to X
    TestUnit combo;
    combo.id = kComboUnit;
    combo.kind = kind_ids::kComboBox;
    combo.name = "组合框1";
    combo.left = 10;
    combo.top = 10;
    combo.width = 150;
    combo.height = 20;
    combo.events = {{0, kSelectionMadeSlot}};
    combo.kindData = ComboData({"甲", "乙"}, {7, 8});
    TestUnit commonDialog;
    commonDialog.id = kDialogUnit;
    commonDialog.kind = kind_ids::kCommonDlg;
    commonDialog.name = "通用对话框1";
    commonDialog.kindData = DialogData(dialog);
    TestUnit button;
    button.id = kButtonUnit;
    button.name = "按钮1";
    button.top = 60;
    button.width = 60;
    button.height = 24;
    button.kindData = ButtonData("b");
    bytes_ = ResourceBytes({WindowOf(kCommandWindow, {window, combo, commonDialog, button})}).data;
    ProcessWindowDefinitions().Read(std::as_bytes(std::span(bytes_)), HandlerTableCodeBase(kCommandHandlers));
  }

  static void Load() { ASSERT_TRUE(FormsRuntime::Instance().LoadWindow(kCommandWindow, 0, false)); }

  static runtime::UnitRef Ref(UnitId unit, KindId kind) {
    return {static_cast<std::int32_t>(kCommandWindow), static_cast<std::int32_t>(unit), kind};
  }
  static runtime::UnitRef Combo() { return Ref(kComboUnit, kind_ids::kComboBox); }
  static runtime::UnitRef Dialog() { return Ref(kDialogUnit, kind_ids::kCommonDlg); }

  static void Pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }

  std::vector<std::uint8_t> bytes_;
};

}  // namespace forms::testing
